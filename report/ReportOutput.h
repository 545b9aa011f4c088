#pragma once

#include "Session.h"
#include "Statistics.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kickmark {

// Writes the whole text to standard output at once and checks it: a report lost to a full disk
// or a closed pipe is a failure, not a success. Says why on standard error when it fails.
bool writeStandardOutput(std::string_view text);

// The clocks of machines that share a folder drift apart a little, and FAT rounds a time up to
// the next two seconds: only a time beyond this is in the future.
constexpr std::int64_t clockSlackSeconds = 60;

// The chart of the newest session (`newest` ranks its speeds), with the sessions panel when
// there are several; sessions after `futureAfter` (seconds since 1970 UTC) are in the future.
// `sessions` must not be empty.
std::string chartText(std::span<const Session> sessions, const RankedSpeeds& newest,
                      std::size_t recentCount, std::int64_t futureAfter);

} // namespace kickmark
