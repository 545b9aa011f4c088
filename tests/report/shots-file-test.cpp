#include "ShotsFile.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

using namespace kickmark;

namespace {

std::vector<double> parse(const std::string& text) {
    return parseShots(text, "shots.csv");
}

std::string refusal(const std::string& line) {
    try {
        parse("100.0\n\n" + line + "\r\n");
    } catch (const NotASpeed& error) {
        return error.what();
    }
    return "accepted";
}

} // namespace

TEST(ParseShots, accepts_mixed_line_ends_blank_lines_and_missing_final_newline) {
    EXPECT_EQ(parse("1523.400024\r\n\n  \r\n2100.5\n-0.000000\n987"),
              (std::vector{double(1523.400024f), 2100.5, 0.0, 987.0}));
}

TEST(ParseShots, empty_input_has_no_shots) {
    EXPECT_TRUE(parse("").empty());
}

TEST(ParseShots, accepts_a_byte_order_mark_at_the_start_and_blanks_around_a_number) {
    EXPECT_EQ(parse("\xEF\xBB\xBF"
                    "1500.25\r\n \t2000\t \r\n"),
              (std::vector{1500.25, 2000.0}));
}

TEST(ParseShots, reads_a_number_by_its_value_whether_or_not_it_has_an_exponent) {
    const std::string zeros45(45, '0');
    const std::string zeros49(49, '0');
    const std::string zeros39(39, '0');
    const std::string digits38(38, '0');
    struct Case {
        std::string text;
        std::optional<double> speed; // none: refused
    };
    const std::vector<Case> cases = {
        // Too small for a float: zero, written either way, and with either sign.
        {"1e-46", 0.0},
        {"0." + zeros45 + "1", 0.0},
        {"-1e-50", 0.0},
        {"-0." + zeros49 + "1", 0.0},
        {"1e-99999999999999999999", 0.0},
        {"-0.000000", 0.0},
        // A float's smallest values are values, and a negative one is refused.
        {"1e-40", double(1e-40f)},
        {"0." + zeros39 + "1", double(1e-40f)},
        {"-1e-40", std::nullopt},
        {"-0." + zeros39 + "1", std::nullopt},
        // The largest a float holds, and just beyond it.
        {"3.4028235e38", double(FLT_MAX)},
        {"34028235" + std::string(31, '0'), double(FLT_MAX)},
        {"3.4028236e38", std::nullopt},
        {"34028236" + std::string(31, '0'), std::nullopt},
        {"1" + digits38 + "0", std::nullopt},
        {"1e99999999999999999999", std::nullopt},
        {"1E+2", 100.0},
        {"0.01e4", 100.0},
        {"-1e39", std::nullopt},
    };
    for (const auto& [text, speed] : cases) {
        if (!speed) {
            EXPECT_EQ(refusal(text), "shots.csv:3: not a speed: " + text);
            continue;
        }
        const auto speeds = parse(text);
        ASSERT_EQ(speeds.size(), 1u) << text;
        EXPECT_EQ(speeds[0], *speed) << text;
        EXPECT_FALSE(std::signbit(speeds[0])) << text;
    }
}

TEST(ParseShots, refuses_an_endless_line_once_it_is_longer_than_any_speed) {
    const std::string longest(4095, '7'); // 4096 bytes with the CR that refusal() adds
    EXPECT_EQ(refusal(longest), "shots.csv:3: not a speed: " + longest);
    EXPECT_EQ(refusal(longest + "7"), "shots.csv:3: not a speed: a line longer than 4096 bytes");
    EXPECT_EQ(refusal(std::string(100000, '\0')),
              "shots.csv:3: not a speed: a line longer than 4096 bytes");
}

class ParseShotsRejects : public testing::TestWithParam<const char*> {};

TEST_P(ParseShotsRejects, line_that_is_not_wholly_one_finite_number) {
    EXPECT_EQ(refusal(GetParam()), "shots.csv:3: not a speed: " + std::string(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(BadLines, ParseShotsRejects,
                         testing::Values("fast", "1523.4 km/h", "1523,4", "1.0 2.0", "inf", "-inf",
                                         "nan", "0x10", "+5", "-1500.000000", "-0.01",
                                         "-3.4028235e38"));

TEST(ParseShots, shows_invisible_characters_of_a_refused_line_escaped) {
    // A no-break space, a tab inside, a byte-order mark past the start, a stray control byte,
    // bytes that are not UTF-8, and a backslash, which must not pass for an escape.
    EXPECT_EQ(refusal("1500\xC2\xA0"), "shots.csv:3: not a speed: 1500\\u{00A0}");
    EXPECT_EQ(refusal("1.0\t2.0"), "shots.csv:3: not a speed: 1.0\\t2.0");
    EXPECT_EQ(refusal("\xEF\xBB\xBF"
                      "1500"),
              "shots.csv:3: not a speed: \\u{FEFF}1500");
    EXPECT_EQ(refusal("15\x01"
                      "00"),
              "shots.csv:3: not a speed: 15\\x0100");
    EXPECT_EQ(refusal("15\xFF\xC3"), "shots.csv:3: not a speed: 15\\xFF\\xC3");
    EXPECT_EQ(refusal("1\\t5"), "shots.csv:3: not a speed: 1\\\\t5");
    EXPECT_EQ(refusal("km/h \xC3\xA9t\xC3\xA9"),
              "shots.csv:3: not a speed: km/h \xC3\xA9t\xC3\xA9");
}
