#pragma once

#include <cstddef>
#include <string>

namespace kickmark {

// Always a '.' and never digit grouping, whatever the process locale says, so reports and charts
// compare byte for byte across machines.
std::string format_fixed(double value, int decimals);

std::string pad_left(std::string text, std::size_t width);

} // namespace kickmark
