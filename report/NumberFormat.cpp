#include "NumberFormat.h"
#include "NumberText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace kickmark {

std::string formatFixed(double value, int decimals) {
    std::string text = text::fixedText(value, decimals);
    // A tiny negative value rounds to "-0.00", which reads as a bogus sign.
    if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}

std::string formatNumber(double value, int decimals) {
    if (std::fabs(value) < 1e9) {
        return formatFixed(value, decimals);
    }
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::scientific, 11);
    return std::string(buffer.data(), error == std::errc{} ? end : buffer.data());
}

std::string padLeft(std::string text, std::size_t width) {
    if (text.size() < width) {
        text.insert(0, width - text.size(), ' ');
    }
    return text;
}

} // namespace kickmark
