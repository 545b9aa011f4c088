#pragma once

#include "ChartDrawing.h"
#include "Session.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <span>

namespace kickmark {

// Up to this many sessions each has its point; the panel has room for about that many apart.
constexpr std::size_t mostSessionPoints = 100;

// Each session's median and fastest shot, oldest first, in `area`, with its title above and its
// legend below. Dates are local times, the zone said in the title; a gap of days between two
// sessions is a gap on the panel, and sessions after `futureAfter` (seconds since 1970 UTC) stand
// after a line marking now. The newest session and the best (the highest median) are always
// points of their own, dated and marked. Beyond mostSessionPoints sessions every other point
// stands for a run of consecutive sessions with shots: the median of their medians and of their
// fastest shots, with bars over the middle half of each, so the panel means what it means for
// one session at any count, and stays small.
void writeSessionsPanel(std::ostream& out, std::span<const Session> sessions,
                        std::int64_t futureAfter, const PlotArea& area);

} // namespace kickmark
