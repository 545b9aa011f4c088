#pragma once

#include <string>

namespace kickmark {

// A speed as the chat box shows it: two decimals, or "0.0000" for speeds within 0.01 of
// zero. The decimal mark is always a point, whatever the process locale.
std::string formatSpeed(float speed);

// Appends a speed as one line of "shots.csv" holds it: widened to double, six decimals,
// a point as the decimal mark, no grouping, then a newline as a text-mode stream stores it
// (a carriage return and a line feed on Windows).
void appendFileLine(std::string& text, float speed);

} // namespace kickmark
