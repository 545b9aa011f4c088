#pragma once

#include "Session.h"
#include "Statistics.h"

#include <cstddef>
#include <ostream>
#include <span>

namespace kickmark {

// Summary statistics, a histogram drawn with block characters (UTF-8), and how the last
// `recentCount` shots compare with the ones before. `speeds` must not be empty.
void writeTextReport(std::ostream& out, const RankedSpeeds& speeds, std::size_t recentCount);

// The newest session's report as above (`newest` holds its speeds), then a row per session,
// oldest first, with older sessions summarised by month and year beyond a few dozen (see
// sessionRows), and how the newest session compares with all the shots of the sessions before
// it. `sessions` holds at least two, oldest first; any of them may be empty.
void writeSessionsReport(std::ostream& out, std::span<const Session> sessions,
                         const RankedSpeeds& newest, std::size_t recentCount, bool everySession);

} // namespace kickmark
