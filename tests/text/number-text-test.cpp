// Numbers as the module, the host and the report write and read them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "DecimalCommaLocale.h"
#include "NumberText.h"

using namespace kickmark::text;

namespace {

TEST(FixedText, rounds_to_the_decimals_asked_for_and_refuses_what_has_no_room) {
    EXPECT_EQ(fixedText(0.125, 2), "0.12"); // an exact tie rounds to even
    EXPECT_EQ(fixedText(-2.5, 0), "-2");
    EXPECT_EQ(fixedText(1523.4f, 6), "1523.400024");
    EXPECT_EQ(fixedText(-std::numeric_limits<double>::max(), 6).size(), 1 + 309 + 1 + 6);
    std::string text = "kept";
    EXPECT_THROW(appendFixed(text, std::numeric_limits<double>::max(), 300), std::length_error);
    EXPECT_EQ(text, "kept");
}

TEST(ShortestText, reads_back_as_the_same_number_in_the_fewest_digits) {
    EXPECT_EQ(shortestText(0.1f), "0.1"); // not the double it widens to
    EXPECT_EQ(shortestText(1.0e6f), "1e+06");
    EXPECT_EQ(shortestText(86400.0), "86400");
}

TEST(ParseNumber, reads_decimal_exponent_and_non_finite_notation) {
    EXPECT_EQ(parseFloat("2345.678"), 2345.678f);
    EXPECT_EQ(parseFloat("-5"), -5.0f);
    EXPECT_EQ(parseFloat("+5"), 5.0f);
    EXPECT_EQ(parseFloat("1e20"), 1e20f);
    EXPECT_EQ(parseFloat("1E-3"), 0.001f);
    EXPECT_EQ(parseFloat("1e-40"), 1e-40f); // a denormal is still a float
    EXPECT_EQ(parseFloat("inf"), INFINITY);
    EXPECT_EQ(parseFloat("-inf"), -INFINITY);
    EXPECT_TRUE(std::isnan(*parseFloat("nan")));
    EXPECT_EQ(parseDouble("+1e50"), 1e50); // a double holds what a float cannot
}

TEST(ParseNumber, refuses_anything_but_one_whole_number) {
    for (const char* text :
         {"", " ", "+", "fast", "12abc", "1,5", "1 000", "+-5", "++5", "--5", "0x", " 5", "5 "}) {
        EXPECT_FALSE(parseFloat(text)) << '"' << text << '"';
        EXPECT_FALSE(parseDouble(text)) << '"' << text << '"';
    }
    EXPECT_FALSE(parseFloat("1e50"));
    EXPECT_FALSE(parseDouble("1e400"));
}

TEST(ParseWhole, reads_digits_only_up_to_the_largest_whole_number) {
    EXPECT_EQ(parseWhole("007"), 7u);
    EXPECT_EQ(parseWhole("18446744073709551615"), 18446744073709551615ull);
    for (const char* text : {"", "+1", "-0", "1.0", " 1", "18446744073709551616"})
        EXPECT_FALSE(parseWhole(text)) << '"' << text << '"';
}

TEST(NumberText, a_decimal_comma_locale_changes_nothing) {
    DecimalCommaLocale comma;
    EXPECT_EQ(parseFloat("1523.4"), 1523.4f);
    EXPECT_FALSE(parseFloat("1523,4"));
    EXPECT_EQ(shortestText(1523.5f), "1523.5");
    EXPECT_EQ(fixedText(1234567.5, 2), "1234567.50");
}

} // namespace
