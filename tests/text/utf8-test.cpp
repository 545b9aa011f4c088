// Wide text to UTF-8 and UTF-8 to code points, refusing what is not text.
#include <gtest/gtest.h>

#include "Utf8.h"

using namespace kickmark::text;

namespace {

TEST(Utf8FromWide, encodes_every_length_and_refuses_or_keeps_a_lone_surrogate) {
    EXPECT_EQ(utf8FromWide(L"Zo\u00EB \u4E2D \U0001F600"),
              "Zo\xC3\xAB \xE4\xB8\xAD \xF0\x9F\x98\x80");
    const std::wstring lone = L"a" + std::wstring(1, static_cast<wchar_t>(0xD800)) + L"b";
    EXPECT_FALSE(utf8FromWide(lone));
    EXPECT_EQ(utf8FromWide(lone, LoneSurrogates::keep), "a\xED\xA0\x80"
                                                        "b");
    if constexpr (sizeof(wchar_t) == 4) {
        EXPECT_FALSE(utf8FromWide(std::wstring(1, static_cast<wchar_t>(0x110000))));
    }
}

TEST(FirstCodePoint, decodes_strict_utf8_only) {
    const struct {
        const char* text;
        char32_t value;
        std::size_t length; // 0: refused
    } cases[] = {
        {"A", U'A', 1},
        {"\xC3\xAB!", 0xEB, 2},
        {"\xE4\xB8\xAD", 0x4E2D, 3},
        {"\xF0\x9F\x98\x80", 0x1F600, 4},
        {"\x80", 0, 0},             // a continuation byte leads nothing
        {"\xC0\xAF", 0, 0},         // overlong
        {"\xED\xA0\x80", 0, 0},     // a surrogate
        {"\xF4\x90\x80\x80", 0, 0}, // beyond U+10FFFF
        {"\xE4\xB8", 0, 0},         // cut short
        {"\xC3"
         "A",
         0, 0}, // not followed by a continuation
    };
    for (const auto& c : cases) {
        const auto decoded = firstCodePoint(c.text);
        if (c.length == 0) {
            EXPECT_FALSE(decoded) << c.text;
        } else {
            ASSERT_TRUE(decoded) << c.text;
            EXPECT_EQ(decoded->value, c.value) << c.text;
            EXPECT_EQ(decoded->length, c.length) << c.text;
        }
    }
}

} // namespace
