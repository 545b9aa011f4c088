#include "shots_file.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

using namespace kickmark;

namespace {

std::vector<double> parse(const std::string& text) {
    std::istringstream in(text);
    return parse_shots(in, "shots.csv");
}

} // namespace

TEST(ParseShots, AcceptsMixedLineEndsBlankLinesAndMissingFinalNewline) {
    EXPECT_EQ(parse("1523.400024\r\n\n  \r\n2100.5\n-0.000000\n987"),
              (std::vector{1523.400024, 2100.5, 0.0, 987.0}));
}

TEST(ParseShots, EmptyInputHasNoShots) {
    EXPECT_TRUE(parse("").empty());
}

class ParseShotsRejects : public testing::TestWithParam<const char*> {};

TEST_P(ParseShotsRejects, LineThatIsNotWhollyOneFiniteNumber) {
    try {
        parse(std::string("100.0\n\n") + GetParam() + "\r\n");
        FAIL() << "accepted " << GetParam();
    } catch (const NotASpeed& error) {
        EXPECT_EQ(error.what(), "shots.csv:3: not a speed: " + std::string(GetParam()));
    }
}

INSTANTIATE_TEST_SUITE_P(BadLines, ParseShotsRejects,
                         testing::Values("fast", "1523.4 km/h", "1523,4", " 1523.4", "1523.4 ",
                                         "1.0 2.0", "inf", "-inf", "nan", "1e999", "0x10"));
