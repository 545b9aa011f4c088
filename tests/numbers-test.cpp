// How the host reads numbers typed at its console or found in replay files.
#include <gtest/gtest.h>

#include <cmath>

#include "DecimalCommaLocale.h"
#include "Numbers.h"

using pluginsdk::parseFloat;

namespace {

TEST(Numbers, reads_decimal_exponent_and_non_finite_notation) {
    EXPECT_EQ(parseFloat("2345.678"), 2345.678f);
    EXPECT_EQ(parseFloat("-5"), -5.0f);
    EXPECT_EQ(parseFloat("+5"), 5.0f);
    EXPECT_EQ(parseFloat("1e20"), 1e20f);
    EXPECT_EQ(parseFloat("1E-3"), 0.001f);
    EXPECT_EQ(parseFloat("1e-40"), 1e-40f); // a denormal is still a float
    EXPECT_EQ(parseFloat("inf"), INFINITY);
    EXPECT_EQ(parseFloat("-inf"), -INFINITY);
    EXPECT_TRUE(std::isnan(*parseFloat("nan")));
}

TEST(Numbers, refuses_anything_but_one_whole_number) {
    for (const char* text :
         {"", " ", "fast", "12abc", "1,5", "1 000", "+-5", "++5", "--5", "0x", "1e50", " 5", "5 "})
        EXPECT_FALSE(parseFloat(text)) << '"' << text << '"';
}

TEST(Numbers, a_decimal_comma_locale_changes_nothing) {
    DecimalCommaLocale comma;
    EXPECT_EQ(parseFloat("1523.4"), 1523.4f);
    EXPECT_FALSE(parseFloat("1523,4"));
    EXPECT_EQ(pluginsdk::formatFloat(1523.5f), "1523.5");
    EXPECT_EQ(pluginsdk::formatFloat(1.0e6f), "1e+06");
}

} // namespace
