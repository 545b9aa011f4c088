#pragma once

#include <cstddef>
#include <string>

namespace kickmark {

// Always a '.' and never digit grouping, whatever the process locale says, so reports and charts
// compare byte for byte across machines.
std::string formatFixed(double value, int decimals);

// Fixed with `decimals` below a billion; beyond, twelve significant digits in exponent form
// ("3.40000000000e+38"): a double's arithmetic on such a value is sure of about that many, so
// every digit shown is right, and the column stays narrow.
std::string formatNumber(double value, int decimals);

std::string padLeft(std::string text, std::size_t width);

} // namespace kickmark
