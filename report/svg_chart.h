#pragma once

#include <ostream>
#include <span>

namespace kickmark {

// A standalone SVG document: each shot's speed by shot number with the running best and a moving
// average, and beside it the speed histogram on the same speed axis. `speeds` must not be empty.
void write_svg_chart(std::ostream& out, std::span<const double> speeds);

} // namespace kickmark
