#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kickmark {

extern const std::string_view usage;

struct Options {
    std::vector<std::string> shots_paths; // files and folders, in the order given
    std::optional<std::string> svg_path;
    std::optional<std::string> keep_folder;
    std::size_t recent_count = 10;
    bool help = false;
};

class UsageError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// `arguments` excludes the program name.
Options parse_command_line(std::span<const std::string_view> arguments);

} // namespace kickmark
