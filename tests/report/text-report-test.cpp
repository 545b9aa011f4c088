#include "ShotsFile.h"
#include "TestFiles.h"
#include "TextReport.h"
#include "UtcTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cstdint>
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
    writeSessionsReport(out, sessions, RankedSpeeds(sessions.back().speeds), 10, false);
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

namespace {

std::string sessionsReport(const std::vector<Session>& sessions, bool everySession) {
    std::ostringstream out;
    writeSessionsReport(out, sessions, RankedSpeeds(sessions.back().speeds), 10, everySession);
    return out.str();
}

std::size_t lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

TEST(WriteSessionsReport, beyond_forty_sessions_summarises_the_older_ones_by_month) {
    std::vector<Session> sessions;
    for (int i = 0; i < 20; ++i) {
        sessions.push_back(
            {"march.csv", "2025-03-0" + std::to_string(1 + i % 9) + " 18:00", {1000}});
    }
    for (int i = 0; i < 15; ++i) {
        sessions.push_back({"november.csv", "2026-11-20 18:00", {2000, 3000}});
    }
    sessions.push_back({"empty.csv", "2026-11-30 18:00", {}});
    for (int i = 0; i < 10; ++i) {
        sessions.push_back({"s" + std::to_string(i) + ".csv", "2026-12-08 18:00", {4000}});
    }
    const std::string text = sessionsReport(sessions, false);
    const auto table = text.find("46 sessions, those before the last 10 by month and year "
                                 "(--every-session lists each)\nsessions, oldest first");
    ASSERT_NE(table, std::string::npos) << text;
    const auto march = text.find("\n2025-03  20 sessions ", table);
    const auto november = text.find("\n2026-11  16 sessions ", table);
    const auto newest = text.find("\n2026-12-08 18:00  s0.csv ", table);
    EXPECT_LT(march, november) << text;
    EXPECT_LT(november, newest) << text;
    EXPECT_NE(text.find("\n2026-12-08 18:00  s9.csv ", newest), std::string::npos) << text;
    // A month's row summarises all its shots, an empty session's none.
    EXPECT_EQ(text.substr(text.find("units/s", november), 56),
              "units/s      30   3000.00   2500.00   2500.00   3000.00\n")
        << text;
    EXPECT_EQ(text.find("march.csv"), std::string::npos) << text;
    // At forty sessions, and on request, every session has its row.
    sessions.erase(sessions.begin(), sessions.begin() + 6);
    EXPECT_NE(sessionsReport(sessions, false).find("\n2025-03-07 18:00  march.csv"),
              std::string::npos);
    sessions.push_back(sessions.back());
    const std::string every = sessionsReport(sessions, true);
    EXPECT_EQ(every.find("by month"), std::string::npos);
    EXPECT_NE(every.find("\n2025-03-07 18:00  march.csv"), std::string::npos);
}

TEST(WriteSessionsReport, fifty_thousand_sessions_fit_two_screens_with_every_shot_counted) {
    // A session every three hours for 17 years, two shots each.
    std::vector<Session> sessions;
    const std::int64_t start = 1230768000; // 2009-01-01 00:00 UTC
    for (std::int64_t i = 0; i < 50000; ++i) {
        sessions.push_back({"s.csv",
                            utcTimeText({start + i * 3 * 3600, 0}, TimeText::minutes),
                            {2000.0 + double(i % 7), 3000.0}});
    }
    const std::string text = sessionsReport(sessions, false);
    EXPECT_LE(lines(text), 100u) << text;
    // The years before the latest five in one row, then a row each, then months.
    const auto table = text.find("sessions, oldest first");
    ASSERT_NE(table, std::string::npos);
    std::istringstream rows(text.substr(table));
    std::vector<std::string> labels;
    std::size_t shots = 0;
    for (std::string line; std::getline(rows, line) && !line.empty();) {
        const auto units = line.find("  units/s");
        if (units != std::string::npos) {
            labels.push_back(line.substr(0, line.find("  ")));
            std::istringstream numbers(line.substr(units + 9));
            std::size_t count = 0;
            numbers >> count;
            shots += count;
        }
    }
    EXPECT_EQ(shots, 100000u);
    ASSERT_EQ(labels.size(), 1u + 5 + 12 + 10) << text;
    EXPECT_EQ(labels[0], "2009-01 to 2020-12");
    EXPECT_EQ(labels[1], "2021-01 to 2021-12");
    EXPECT_EQ(labels[5], "2025-01 to 2025-02");
    EXPECT_EQ(labels[6], "2025-03");
    EXPECT_EQ(labels[17], "2026-02");
    EXPECT_EQ(lines(sessionsReport(sessions, true)), lines(text) + 2 * (50000 - 28) - 1);
}
