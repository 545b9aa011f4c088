#include "VisibleText.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

namespace kickmark {
namespace {

struct Decoded {
    char32_t codePoint;
    std::size_t length;
};

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
std::optional<Decoded> decode(std::string_view text) {
    const auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(text[at]); };
    const std::uint8_t lead = byte(0);
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, codePoint = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, codePoint = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, codePoint = lead & 0x07, smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() < length) {
        return std::nullopt;
    }
    for (std::size_t at = 1; at < length; ++at) {
        if ((byte(at) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        codePoint = (codePoint << 6) | (byte(at) & 0x3F);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return std::nullopt;
    }
    return Decoded{codePoint, length};
}

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

enum class Backslash { spelledOut, separator };

std::string spelledOut(std::string_view text, Backslash backslash) {
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
        } else if (const auto decoded = decode(text)) {
            used = decoded->length;
            if (isInvisible(decoded->codePoint)) {
                shown += "\\u{" + hex(decoded->codePoint, 4) + "}";
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

} // namespace

std::string visibleText(std::string_view text) {
    return spelledOut(text, Backslash::spelledOut);
}

std::string visiblePath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return spelledOut({reinterpret_cast<const char*>(text.data()), text.size()},
                      std::filesystem::path::preferred_separator == '\\' ? Backslash::separator
                                                                         : Backslash::spelledOut);
}

} // namespace kickmark
