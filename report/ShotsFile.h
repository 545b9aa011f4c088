#pragma once

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace kickmark {

// A line that is not one finite number; what() is "FILE:LINE: not a speed: TEXT".
class NotASpeed : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The file itself is missing or unreadable; what() names the path and the reason.
class CannotRead : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// `name` only labels error messages.
std::vector<double> parseShots(std::istream& in, const std::string& name);

std::vector<double> readShots(const std::string& path);

} // namespace kickmark
