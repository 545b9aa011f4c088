#include "SpeedText.h"

#include <charconv>

namespace kickmark {

namespace {

// Room for the widest float in fixed notation: 39 integer digits, a sign, a point and six
// decimals.
constexpr std::size_t maxFixedLength = 64;

template <typename T> void appendFixed(std::string& text, T value, int precision) {
    char buffer[maxFixedLength];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    text.append(buffer, result.ptr);
}

} // namespace

std::string formatSpeed(float speed) {
    if (speed >= -0.01f && speed <= 0.01f)
        return "0.0000";
    std::string text;
    appendFixed(text, speed, 2);
    return text;
}

void appendFileLine(std::string& text, float speed) {
    appendFixed(text, static_cast<double>(speed), 6);
#if defined(_WIN32)
    text += "\r\n";
#else
    text += '\n';
#endif
}

} // namespace kickmark
