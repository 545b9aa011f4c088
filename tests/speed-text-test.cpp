// How speeds become text, in the chat box and in the file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "DecimalCommaLocale.h"
#include "Files.h"
#include "SpeedText.h"

namespace {

using kickmark::formatSpeed;

std::string fileLine(float speed) {
    std::string text;
    kickmark::appendFileLine(text, speed);
    // The line end is the platform's; the number before it is the same everywhere.
    const std::string end = lineEnd;
    return text.ends_with(end) ? text.substr(0, text.size() - end.size()) + "\n" : text + "?";
}

TEST(SpeedText, chat_shows_two_decimals_rounded_to_nearest) {
    EXPECT_EQ(formatSpeed(2345.678f), "2345.68");
    EXPECT_EQ(formatSpeed(1523.4f), "1523.40");
    EXPECT_EQ(formatSpeed(0.02f), "0.02");
    EXPECT_EQ(formatSpeed(1234567.0f), "1234567.00"); // no grouping
    EXPECT_EQ(formatSpeed(0.125f), "0.12");           // an exact tie rounds to even
    EXPECT_EQ(formatSpeed(-2.5f), "-2.50");
}

TEST(SpeedText, chat_shows_speeds_within_a_hundredth_of_zero_as_four_zeros) {
    EXPECT_EQ(formatSpeed(0.0f), "0.0000");
    EXPECT_EQ(formatSpeed(0.005f), "0.0000");
    EXPECT_EQ(formatSpeed(0.01f), "0.0000");
    EXPECT_EQ(formatSpeed(-0.01f), "0.0000");
    EXPECT_EQ(formatSpeed(std::nextafter(0.01f, 1.0f)), "0.01");
    EXPECT_EQ(formatSpeed(std::nextafter(-0.01f, -1.0f)), "-0.01");
}

TEST(SpeedText, file_line_widens_to_double_with_six_decimals) {
    EXPECT_EQ(fileLine(1523.4f), "1523.400024\n");
    EXPECT_EQ(fileLine(2345.678f), "2345.677979\n");
    EXPECT_EQ(fileLine(0.0f), "0.000000\n");
    EXPECT_EQ(fileLine(3.0e38f), "300000000549775575777803994281145270272.000000\n");
}

TEST(SpeedText, text_matches_printf_in_the_c_locale_over_many_speeds) {
    char expected[64];
    for (float speed = 0.0117f; speed < 6000.0f; speed = speed * 1.0137f + 0.0031f) {
        std::snprintf(expected, sizeof expected, "%.2f", static_cast<double>(speed));
        ASSERT_EQ(formatSpeed(speed), expected) << speed;
        std::snprintf(expected, sizeof expected, "%f\n", static_cast<double>(speed));
        ASSERT_EQ(fileLine(speed), expected) << speed;
    }
}

TEST(SpeedText, a_decimal_comma_locale_changes_nothing) {
    DecimalCommaLocale comma;
    if (comma.cLocaleSwitched()) {
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        ASSERT_STREQ(probe, "1,5") << "the locale switch did not take";
    }
    EXPECT_EQ(formatSpeed(2345.678f), "2345.68");
    EXPECT_EQ(formatSpeed(1234567.0f), "1234567.00");
    EXPECT_EQ(fileLine(1523.4f), "1523.400024\n");
}

} // namespace
