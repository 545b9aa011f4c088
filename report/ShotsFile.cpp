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

// Whether a number that a float cannot hold lies below 1 in magnitude (too small for a float)
// rather than above (too large): the power of ten of its first significant digit, plus its
// exponent, is negative. The text is one that from_chars read whole, and not zero.
bool belowOne(std::string_view text) {
    if (text.starts_with('-')) {
        text.remove_prefix(1);
    }
    const auto exponentAt = std::min(text.find_first_of("eE"), text.size());
    const std::string_view mantissa = text.substr(0, exponentAt);
    std::string_view exponentText = text.substr(std::min(exponentAt + 1, text.size()));
    const bool negativeExponent = exponentText.starts_with('-');
    if (exponentText.starts_with('-') || exponentText.starts_with('+')) {
        exponentText.remove_prefix(1);
    }
    // A mantissa is at most a line long, so an exponent beyond this decides on its own.
    constexpr long long farBeyond = 1LL << 40;
    long long exponent = 0;
    const auto read =
        std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    if (read.ec == std::errc::result_out_of_range || exponent > farBeyond) {
        exponent = farBeyond;
    }
    exponent = negativeExponent ? -exponent : exponent;
    const auto point = std::min(mantissa.find('.'), mantissa.size());
    const auto first = mantissa.find_first_not_of("0.");
    if (first == std::string_view::npos) {
        return true;
    }
    const auto place = first < point ? static_cast<long long>(point - first) - 1
                                     : -static_cast<long long>(first - point);
    return place + exponent < 0;
}

// The plugin saves 32-bit floats, so anything a float cannot hold was never a measured speed;
// keeping every value in float range also keeps every later sum and square finite. A number
// too small for a float rounds to zero, however it is written. A speed is a length: the plugin
// never saves one below zero, but "-0.000000" and "-1e-50" are zero.
std::optional<double> parseSpeed(std::string_view text) {
    const char* const end = text.data() + text.size();
    float value = 0.0f;
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (stop != end) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        if (!belowOne(text)) {
            return std::nullopt;
        }
        value = 0.0f;
    } else if (error != std::errc{} || !std::isfinite(value)) {
        return std::nullopt;
    }
    if (value < 0.0f) {
        return std::nullopt;
    }
    // A negative zero would print as "-0.00".
    return value == 0.0f ? 0.0 : static_cast<double>(value);
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
