#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kickmark {

// A line that is not one finite number; what() is "FILE:LINE: not a speed: TEXT".
class NotASpeed : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The file itself is missing, unreadable or not settled; what() names the path and the reason.
class CannotRead : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One speed a line; `name` only labels error messages.
std::vector<double> parseShots(std::string_view text, const std::string& name);

} // namespace kickmark
