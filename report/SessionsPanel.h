#pragma once

#include "ChartDrawing.h"
#include "Session.h"

#include <ostream>
#include <span>

namespace kickmark {

// Each session's median and fastest shot, oldest first, in `area`, with its title above and its
// legend below.
void writeSessionsPanel(std::ostream& out, std::span<const Session> sessions, const PlotArea& area);

} // namespace kickmark
