#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kickmark::text {

enum class LoneSurrogates {
    refuse,
    // Their three bytes each (WTF-8) rather than a replacement character: the text is then
    // no UTF-8, and names no file that some other text names.
    keep,
};

// UTF-8 of wide text: UTF-16 where wchar_t has 16 bits (Windows), UTF-32 elsewhere. Nothing
// when it holds a value beyond U+10FFFF, or a lone surrogate that is to be refused.
std::optional<std::string> utf8FromWide(std::wstring_view wide,
                                        LoneSurrogates surrogates = LoneSurrogates::refuse);

struct CodePoint {
    char32_t value;
    std::size_t length; // bytes of UTF-8 it took
};

// The code point `text` starts with, in strict UTF-8: no overlong forms, no surrogates, nothing
// above U+10FFFF, no sequence cut short. Nothing for empty text or a byte that starts none.
std::optional<CodePoint> firstCodePoint(std::string_view text);

} // namespace kickmark::text
