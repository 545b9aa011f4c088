#pragma once

#include "ChartDrawing.h"
#include "Session.h"

#include <cstddef>
#include <ostream>
#include <span>

namespace kickmark {

// Up to this many sessions each has its points; the panel has room for about that many apart.
constexpr std::size_t mostSessionPoints = 100;

// Each session's median and fastest shot, oldest first, in `area`, with its title above and its
// legend below. Beyond mostSessionPoints sessions, each point stands for a run of consecutive
// sessions with shots and draws their range, so the panel stays readable, and small, at any
// count.
void writeSessionsPanel(std::ostream& out, std::span<const Session> sessions, const PlotArea& area);

} // namespace kickmark
