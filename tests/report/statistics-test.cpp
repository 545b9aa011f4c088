#include "NumberFormat.h"
#include "ShotsFile.h"
#include "Statistics.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <span>
#include <vector>

using namespace kickmark;

namespace {

Summary summarizeFile(const std::string& name) {
    return summarize(shotsOf(name));
}

} // namespace

TEST(Summarize, crlf_file_with_even_count_averages_middle_pair_and_interpolates_percentile) {
    // 2500, 4000, (blank), 1000, 1500 with CRLF line ends, deliberately unsorted.
    const Summary summary = summarizeFile("crlf.csv");
    EXPECT_EQ(summary.shots, 4u);
    EXPECT_DOUBLE_EQ(summary.fastest, 4000.0);
    EXPECT_DOUBLE_EQ(summary.mean, 2250.0);
    EXPECT_DOUBLE_EQ(summary.median, 2000.0);
    EXPECT_DOUBLE_EQ(summary.percentile90, 3550.0);
    EXPECT_NEAR(summary.standardDeviation, 1145.643924, 1e-6);
}

TEST(Summarize, single_shot_is_every_statistic_with_zero_deviation) {
    const Summary summary = summarizeFile("single.csv");
    EXPECT_EQ(summary.shots, 1u);
    for (const double value :
         {summary.fastest, summary.mean, summary.median, summary.percentile90}) {
        EXPECT_EQ(value, double(1523.400024f));
    }
    EXPECT_EQ(summary.standardDeviation, 0.0);
}

// The shots before are ranked within the whole session's sorted speeds, the recent ones left
// out: ties across the split and extremes among the recent shots must not shift a rank.
TEST(SplitRecent, summarises_both_parts_as_if_each_were_sorted_on_its_own) {
    std::vector<double> repeating;
    for (int i = 0; i < 1001; ++i) {
        repeating.push_back(1000.0 + (i * 7919 % 13) * 250.0);
    }
    struct Case {
        std::vector<double> speeds;
        std::size_t recent;
    };
    const std::vector<Case> cases = {
        {{5, 1, 5, 3, 5, 1}, 2},
        {{3000, 3000, 3000, 3000}, 3},
        {{2000, 1000, 9000, 0}, 2},
        {{4000, 1000, 2000, 3000, 2500}, 4},
        {repeating, 1},
        {repeating, 10},
        {repeating, 500},
        {repeating, 1000},
    };
    const auto same = [](const Summary& got, const Summary& wanted) {
        return got.shots == wanted.shots && got.slowest == wanted.slowest &&
               got.fastest == wanted.fastest && got.mean == wanted.mean &&
               got.median == wanted.median && got.percentile90 == wanted.percentile90 &&
               got.standardDeviation == wanted.standardDeviation;
    };
    for (const auto& [speeds, recent] : cases) {
        const std::span<const double> all(speeds);
        const RecentSplit split = splitRecent(RankedSpeeds(all), recent);
        const auto before = all.first(all.size() - recent);
        EXPECT_TRUE(same(split.before, summarize(before))) << speeds.size() << " / " << recent;
        EXPECT_TRUE(same(split.recent, summarize(all.last(recent))))
            << speeds.size() << " / " << recent;
    }
}

TEST(Summarize, odd_count_median_is_middle_value) {
    EXPECT_DOUBLE_EQ(summarize(std::vector{900.0, 100.0, 500.0}).median, 500.0);
}

// The expected texts are the exact mean and population deviation, worked out in rational
// arithmetic and rounded to the digits the report prints.
TEST(Summarize, huge_speeds_among_ordinary_ones_give_the_right_digits) {
    struct Case {
        std::vector<double> speeds;
        const char* mean;
        const char* deviation;
    };
    const std::vector<Case> cases = {
        {{1000, 2000, double(1e19f)}, "3.33333332684e+18", "4.71404519872e+18"},
        {{1000, 2000, 3000, double(3.4e38f)}, "8.49999988036e+37", "1.47224316571e+38"},
        {{double(3.4e38f), double(3.4e38f), 1500}, "2.26666663476e+38", "1.60277534813e+38"},
        {{double(FLT_MAX), -double(FLT_MAX), 2000}, "666.67", "2.77839372580e+38"},
    };
    for (const auto& [speeds, mean, deviation] : cases) {
        const Summary summary = summarize(speeds);
        EXPECT_EQ(formatNumber(summary.mean, 2), mean);
        EXPECT_EQ(formatNumber(summary.standardDeviation, 2), deviation);
    }
}

TEST(Summarize, every_level_lies_between_the_slowest_and_the_fastest) {
    // Summing a thousand copies of 0.1 rounds past 0.1 unless the mean is held in.
    const std::vector<double> equal(1000, double(0.1f));
    const Summary same = summarize(equal);
    EXPECT_EQ(same.mean, equal.front());
    EXPECT_EQ(same.standardDeviation, 0.0);

    const Summary wide = summarize(std::vector{-double(FLT_MAX), double(FLT_MAX), 1.0});
    for (const double level : {wide.mean, wide.median, wide.percentile90}) {
        EXPECT_TRUE(std::isfinite(level));
        EXPECT_GE(level, wide.slowest);
        EXPECT_LE(level, wide.fastest);
    }
}

TEST(RunningBest, never_drops_after_slower_shots) {
    EXPECT_EQ(runningBest(std::vector{2.0, 1.0, 3.0, 2.5}), (std::vector{2.0, 2.0, 3.0, 3.0}));
}

TEST(MovingAverage, averages_what_exists_until_window_fills_then_slides) {
    EXPECT_EQ(movingAverage(std::vector{2.0, 4.0, 6.0, 10.0}, 3),
              (std::vector{2.0, 3.0, 4.0, 20.0 / 3.0}));
}

TEST(MovingAverage, agrees_with_the_direct_average_of_every_window) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> speed(500, 4500);
    std::vector<double> speeds(500);
    for (auto& value : speeds) {
        value = speed(random);
    }
    for (const std::size_t window : {1u, 2u, 7u, 50u, 600u}) {
        const auto averages = movingAverage(speeds, window);
        ASSERT_EQ(averages.size(), speeds.size());
        for (std::size_t i = 0; i < speeds.size(); ++i) {
            const std::size_t first = i + 1 > window ? i + 1 - window : 0;
            double sum = 0;
            for (std::size_t j = first; j <= i; ++j) {
                sum += speeds[j];
            }
            ASSERT_NEAR(averages[i], sum / double(i + 1 - first), 1e-9) << window << " " << i;
        }
    }
}

TEST(MovingAverage, a_huge_speed_leaves_no_trace_once_out_of_the_window) {
    const auto averages =
        movingAverage(std::vector{1000.0, double(FLT_MAX), 1000.0, 1000.5, 1000.0, 999.0}, 2);
    EXPECT_EQ(averages[4], 1000.25);
    EXPECT_EQ(averages[5], 999.5);
}
