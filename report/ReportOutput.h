#pragma once

#include "Session.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace kickmark {

// Writes the whole text to standard output at once and checks it: a report lost to a full disk
// or a closed pipe is a failure, not a success. Says why on standard error when it fails.
bool writeStandardOutput(std::string_view text);

// The chart of the newest session, with the sessions panel when there are several. `sessions`
// must not be empty.
std::string chartText(std::span<const Session> sessions, std::size_t recentCount);

} // namespace kickmark
