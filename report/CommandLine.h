#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kickmark {

extern const std::string_view usage;

struct Options {
    std::vector<std::filesystem::path> shotsPaths; // files and folders, in the order given
    std::optional<std::filesystem::path> svgPath;
    std::optional<std::filesystem::path> keepFolder;
    std::optional<std::filesystem::path> htmlPath;
    // Keep each save of the one SHOTS file until stopped, rather than report once.
    bool watch = false;
    std::size_t recentCount = 10;
    bool everySession = false;
    bool help = false;
    bool version = false;
};

class UsageError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// `arguments` are the UTF-8 words after the program name. Throws UsageError, also for a word
// that no file can bear as its name.
Options parseCommandLine(std::span<const std::string> arguments);

} // namespace kickmark
