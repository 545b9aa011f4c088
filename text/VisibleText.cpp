#include "VisibleText.h"
#include "Utf8.h"

#include <array>
#include <cstdint>
#include <utility>

namespace kickmark::text {
namespace {

bool isInvisible(char32_t c) {
    constexpr std::array<std::pair<char32_t, char32_t>, 14> ranges = {{
        {0x80, 0xA0}, // C1 controls, no-break space
        {0xAD, 0xAD}, // soft hyphen
        {0x034F, 0x034F},
        {0x061C, 0x061C},
        {0x180E, 0x180E},
        {0x2000, 0x200F}, // wide spaces, zero-width characters, direction marks
        {0x2028, 0x202F},
        {0x205F, 0x206F},
        {0x3000, 0x3000},
        {0x3164, 0x3164},
        {0xFE00, 0xFE0F}, // variation selectors
        {0xFEFF, 0xFEFF}, // byte-order mark
        {0xFFF9, 0xFFFB},
        {0xFFFE, 0xFFFF}, // not characters at all; XML refuses them
    }};
    for (const auto& [first, last] : ranges) {
        if (c >= first && c <= last) {
            return true;
        }
    }
    return false;
}

std::string hex(std::uint32_t value, int digits) {
    constexpr std::string_view digitChars = "0123456789ABCDEF";
    std::string text(static_cast<std::size_t>(digits), '0');
    for (int at = digits - 1; at >= 0; --at, value >>= 4) {
        text[static_cast<std::size_t>(at)] = digitChars[value & 0xF];
    }
    return text;
}

} // namespace

std::string visibleText(std::string_view text, Backslash backslash) {
    std::string shown;
    while (!text.empty()) {
        const auto byte = static_cast<std::uint8_t>(text.front());
        std::size_t used = 1;
        if (byte == '\\') {
            shown += backslash == Backslash::separator ? "\\" : "\\\\";
        } else if (byte == '\t') {
            shown += "\\t";
        } else if (byte == '\r') {
            shown += "\\r";
        } else if (byte < 0x20 || byte == 0x7F) {
            shown += "\\x" + hex(byte, 2);
        } else if (byte < 0x80) {
            shown += static_cast<char>(byte);
        } else if (const auto decoded = firstCodePoint(text)) {
            used = decoded->length;
            if (isInvisible(decoded->value)) {
                shown += "\\u{" + hex(decoded->value, 4) + "}";
            } else {
                shown += text.substr(0, used);
            }
        } else {
            shown += "\\x" + hex(byte, 2);
        }
        text.remove_prefix(used);
    }
    return shown;
}

} // namespace kickmark::text
