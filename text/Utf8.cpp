#include "Utf8.h"

#include <cstdint>

namespace kickmark::text {

namespace {

bool isSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

void appendUtf8(std::string& text, char32_t c) {
    if (c < 0x80) {
        text += static_cast<char>(c);
        return;
    }
    const int continuations = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    constexpr unsigned char lead[] = {0, 0xC0, 0xE0, 0xF0};
    text += static_cast<char>(lead[continuations] | (c >> (6 * continuations)));
    for (int k = continuations - 1; k >= 0; --k)
        text += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
}

} // namespace

std::optional<std::string> utf8FromWide(std::wstring_view wide, LoneSurrogates surrogates) {
    std::string text;
    text.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        auto c = static_cast<char32_t>(wide[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                wide[i + 1] < 0xE000)
                c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(wide[++i]) - 0xDC00);
        }
        if (c > 0x10FFFF || (isSurrogate(c) && surrogates == LoneSurrogates::refuse))
            return std::nullopt;
        appendUtf8(text, c);
    }
    return text;
}

std::optional<CodePoint> firstCodePoint(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    const auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(text[at]); };
    const std::uint8_t lead = byte(0);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if (lead < 0x80)
        return CodePoint{lead, 1};
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() < length)
        return std::nullopt;
    for (std::size_t at = 1; at < length; ++at) {
        if ((byte(at) & 0xC0) != 0x80)
            return std::nullopt;
        value = (value << 6) | (byte(at) & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || isSurrogate(value))
        return std::nullopt;
    return CodePoint{value, length};
}

} // namespace kickmark::text
