#include "ShotsFile.h"
#include "TestFiles.h"
#include "TextReport.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <sstream>
#include <vector>

using namespace kickmark;

namespace {

std::string report(const std::vector<double>& speeds, std::size_t recent = 10) {
    std::ostringstream out;
    writeTextReport(out, RankedSpeeds(speeds), recent);
    return out.str();
}

bool isNumber(const std::string& word) {
    double value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc{} && end == word.data() + word.size();
}

} // namespace

TEST(WriteTextReport, matches_golden_output_for_session) {
    std::ostringstream out;
    const auto speeds = shotsOf("session.csv");
    writeTextReport(out, RankedSpeeds(speeds), 4);
    EXPECT_EQ(out.str(), readBytes(dataFile("session.txt")));
}

TEST(WriteTextReport, says_so_when_no_shots_precede_the_recent_ones) {
    EXPECT_TRUE(
        report({1000.0, 2000.0}).ends_with("no shots before the last 10 to compare with\n"));
}

TEST(WriteTextReport, bin_with_one_shot_among_hundreds_still_shows_a_bar) {
    std::vector speeds(700, 1000.0);
    speeds.push_back(2000.0);
    EXPECT_NE(report(speeds).find("  2000 -   2500      1  \xE2\x96\x8F\n"), std::string::npos);
}

TEST(WriteTextReport, huge_speeds_never_run_into_their_neighbours) {
    std::vector<double> speeds = {3381.401, double(1e19f), double(FLT_MAX), -double(FLT_MAX)};
    for (int i = 0; i < 12; ++i) {
        speeds.push_back(2500.0 + 100 * i);
    }
    const std::string text = report(speeds, 3);
    EXPECT_EQ(text.find("inf"), std::string::npos);
    EXPECT_EQ(text.find("nan"), std::string::npos);
    std::istringstream lines(text);
    std::size_t numbers = 0;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            // Every word is a number, a sign-led change, a label or a bar: two numbers run
            // together would be none of these.
            const bool digitLed = (word.find_first_of("0123456789") == 0 && word != "90th") ||
                                  (word.size() > 1 && (word[0] == '-' || word[0] == '+'));
            if (digitLed) {
                EXPECT_TRUE(isNumber(word[0] == '+' ? word.substr(1) : word)) << word << " in\n"
                                                                              << line;
                ++numbers;
            }
        }
    }
    EXPECT_GT(numbers, 30u);
}

TEST(WriteTextReport, a_wide_spread_ends_in_an_open_row_and_never_passes_twenty_rows) {
    std::vector<double> speeds = {1000, 2000, 3000, 1e19};
    const std::string text = report(speeds);
    EXPECT_NE(text.find("\xE2\x89\xA5  10500             1"), std::string::npos) << text;
    const auto histogram = text.substr(text.find("speed (units/s)"));
    EXPECT_EQ(std::count(histogram.begin(), histogram.begin() + histogram.find("\n\n"), '\n'), 20);
}

TEST(WriteSessionsReport, lists_sessions_in_order_and_compares_the_newest_with_all_before) {
    const std::vector<Session> sessions = {
        {"a.csv", "2026-12-01 18:00", {1000, 2000}},
        {"empty.csv", "2026-12-02 18:00", {}},
        {"b.csv", "2026-12-03 18:00", {3000}},
        {"c.csv", "2026-12-04 18:00", {2500, 3500}},
    };
    std::ostringstream out;
    writeSessionsReport(out, sessions, RankedSpeeds(sessions.back().speeds), 10);
    const std::string text = out.str();
    EXPECT_TRUE(text.starts_with("newest session: c.csv, 2026-12-04 18:00 UTC\nshots")) << text;
    const auto a = text.find("2026-12-01 18:00  a.csv      units/s       2   2000.00   1500.00");
    const auto empty = text.find("2026-12-02 18:00  empty.csv  units/s       0\n");
    const auto b = text.find("2026-12-03 18:00  b.csv      units/s       1   3000.00");
    EXPECT_NE(a, std::string::npos) << text;
    EXPECT_LT(a, empty);
    EXPECT_LT(empty, b);
    // c's mean 3000 against the mean 2000 of the three shots before it.
    const auto comparison =
        text.find("newest session against the 3 shots of the 2 sessions before");
    ASSERT_NE(comparison, std::string::npos) << text;
    EXPECT_NE(text.find("mean      units/s      3000.00   2000.00  +1000.00", comparison),
              std::string::npos)
        << text;
}
