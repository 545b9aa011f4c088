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
    std::vector<std::string> shotsPaths; // files and folders, in the order given
    std::optional<std::string> svgPath;
    std::optional<std::string> keepFolder;
    std::size_t recentCount = 10;
    bool everySession = false;
    bool help = false;
    bool version = false;
};

class UsageError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// `arguments` excludes the program name.
Options parseCommandLine(std::span<const std::string_view> arguments);

} // namespace kickmark
