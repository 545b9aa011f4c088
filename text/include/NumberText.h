#pragma once

#include <optional>
#include <string>
#include <string_view>

// Numbers as text and back, the same whatever the process locale says: a point as the decimal
// mark, never digit grouping.
namespace kickmark::text {

// Appends `value` in fixed notation with `decimals` digits after the point, rounded to nearest
// (ties to even). Throws std::length_error, appending nothing, for more digits than it has room
// for (beyond about 190 decimals).
void appendFixed(std::string& text, double value, int decimals);

inline std::string fixedText(double value, int decimals) {
    std::string text;
    appendFixed(text, value, decimals);
    return text;
}

// The shortest text that reads back as the same number ("1523.5", "1e+06").
std::string shortestText(float value);
std::string shortestText(double value);

// A whole text as one number in decimal or exponent notation ("1e20", "nan", "inf", "-inf"),
// with an optional leading '+'. Nothing for text with anything else in it, blanks included,
// or for a value outside the type's range.
std::optional<float> parseFloat(std::string_view text);
std::optional<double> parseDouble(std::string_view text);

// A whole text as a whole number, digits only: no sign, no blanks. Nothing beyond the range.
std::optional<unsigned long long> parseWhole(std::string_view text);

} // namespace kickmark::text
