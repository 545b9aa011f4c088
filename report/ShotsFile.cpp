#include "ShotsFile.h"

#include "Trim.h"
#include "VisibleText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace kickmark {
namespace {

bool hasNegativeExponent(std::string_view text) {
    const auto exponent = text.find_first_of("eE");
    return exponent != std::string_view::npos && text.substr(exponent + 1).starts_with('-');
}

// The plugin saves 32-bit floats, so anything a float cannot hold was never a measured speed;
// keeping every value in float range also keeps every later sum and square finite. A speed is
// a length: the plugin never saves one below zero ("-0.000000" is zero).
std::optional<double> parseSpeed(std::string_view text) {
    const char* const end = text.data() + text.size();
    float value = 0.0f;
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (stop != end) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        // Too small for a float is a speed of zero; too large is no speed at all.
        return hasNegativeExponent(text) ? std::optional(0.0) : std::nullopt;
    }
    if (error != std::errc{} || !std::isfinite(value) || value < 0.0f) {
        return std::nullopt;
    }
    return static_cast<double>(value);
}

// A speed is a few dozen characters at most: a longer line is not read as one.
constexpr std::size_t longestLine = 4096;

} // namespace

std::vector<double> parseShots(std::string_view text, const std::string& name) {
    std::vector<double> speeds;
    for (std::size_t number = 1; !text.empty(); ++number) {
        const auto end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.size() > longestLine) {
            throw NotASpeed(name + ":" + std::to_string(number) +
                            ": not a speed: a line longer than " + std::to_string(longestLine) +
                            " bytes");
        }
        // Files written on Windows end lines with CRLF.
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        const std::string_view speedText =
            text::trim(number == 1 ? text::withoutByteOrderMark(line) : line);
        if (speedText.empty()) {
            continue;
        }
        const auto speed = parseSpeed(speedText);
        if (!speed) {
            throw NotASpeed(name + ":" + std::to_string(number) +
                            ": not a speed: " + text::visibleText(line));
        }
        speeds.push_back(*speed);
    }
    return speeds;
}

} // namespace kickmark
