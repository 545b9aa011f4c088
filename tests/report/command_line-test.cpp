#include "command_line.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kickmark;

namespace {

Options parse(std::vector<std::string_view> arguments) {
    return parse_command_line(arguments);
}

} // namespace

TEST(ParseCommandLine, OptionsMayComeAfterTheFile) {
    const Options options = parse({"shots.csv", "--last", "25", "--svg", "chart.svg"});
    EXPECT_EQ(options.shots_path, "shots.csv");
    EXPECT_EQ(options.svg_path, "chart.svg");
    EXPECT_EQ(options.recent_count, 25u);
}

TEST(ParseCommandLine, DefaultsToLastTenAndNoChart) {
    const Options options = parse({"shots.csv"});
    EXPECT_EQ(options.recent_count, 10u);
    EXPECT_FALSE(options.svg_path);
}

TEST(ParseCommandLine, RejectsMisuse) {
    for (const auto& arguments : std::vector<std::vector<std::string_view>>{
             {},
             {"a.csv", "b.csv"},
             {"--verbose", "a.csv"},
             {"a.csv", "--svg"},
             {"--last", "0", "a.csv"},
             {"--last", "-3", "a.csv"},
             {"--last", "5x", "a.csv"},
         }) {
        EXPECT_THROW(parse(arguments), UsageError) << testing::PrintToString(arguments);
    }
}
