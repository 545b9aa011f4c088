#include "shots_file.h"
#include "test_files.h"
#include "text_report.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

using namespace kickmark;

TEST(WriteTextReport, MatchesGoldenOutputForSession) {
    std::ostringstream out;
    write_text_report(out, read_shots(data_file("session.csv").string()), 4);
    EXPECT_EQ(out.str(), read_file(data_file("session.txt")));
}

TEST(WriteTextReport, SaysSoWhenNoShotsPrecedeTheRecentOnes) {
    std::ostringstream out;
    write_text_report(out, std::vector{1000.0, 2000.0}, 10);
    EXPECT_TRUE(out.str().ends_with("no shots before the last 10 to compare with\n")) << out.str();
}

TEST(WriteTextReport, BinWithOneShotAmongHundredsStillShowsABar) {
    std::vector speeds(700, 1000.0);
    speeds.push_back(2000.0);
    std::ostringstream out;
    write_text_report(out, speeds, 10);
    EXPECT_NE(out.str().find("  2000 -   2500      1  \xE2\x96\x8F\n"), std::string::npos)
        << out.str();
}
