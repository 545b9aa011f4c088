#include "ChartScales.h"
#include "ColumnSummary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace kickmark;

TEST(FitSpeedAxis, fits_the_bulk_from_zero_and_leaves_wild_shots_out) {
    std::vector<double> speeds;
    for (int i = 0; i < 200; ++i) {
        speeds.push_back(1200.0 + 16.0 * i); // up to 4384
    }
    speeds.push_back(9e4);
    speeds.push_back(3.4e38);
    std::ranges::sort(speeds);
    const SpeedAxis axis = fitSpeedAxis(speeds);
    EXPECT_EQ(axis.low, 0);
    EXPECT_EQ(axis.step, 1000);
    EXPECT_EQ(axis.high, 5000);
}

TEST(FitSpeedAxis, reaches_ordinary_spread_above_the_percentile) {
    // Two shots, or the fastest few of a session: spread, not wild shots.
    EXPECT_EQ(fitSpeedAxis(std::vector{1000.0, 4400.0}).high, 5000);
    std::vector<double> speeds(300, 3000.0);
    speeds.push_back(5600.0);
    EXPECT_EQ(fitSpeedAxis(speeds).high, 6000);
}

TEST(FitSpeedAxis, equal_or_huge_speeds_still_give_a_few_round_ticks) {
    for (const std::vector<double>& sorted :
         {std::vector{0.0}, std::vector{2000.0, 2000.0}, std::vector{-3.4e38, 3.4e38},
          std::vector{3.4e38, 3.4e38}, std::vector{1e-30, 2e-30}}) {
        const SpeedAxis axis = fitSpeedAxis(sorted);
        EXPECT_LT(axis.low, axis.high);
        EXPECT_LE(axis.low, std::max(0.0, sorted.front()));
        EXPECT_GT(axis.high, sorted.back());
        const auto ticks = axisTicks(axis.low, axis.high, axis.step);
        EXPECT_GE(ticks.size(), 2u);
        EXPECT_LE(ticks.size(), 12u);
    }
}

TEST(KmhTicks, are_round_kmh_values_of_the_same_axis) {
    const auto ticks = kmhTicks({0, 5000, 1000}); // 0 to 180 km/h
    EXPECT_EQ(ticks, (std::vector<double>{0, 50, 100, 150}));
}

TEST(FitCappedAxis, stops_at_three_times_the_typical_value) {
    EXPECT_EQ(fitCappedAxis(std::vector{2500.0, 4400.0, 3.4e38}, 2500.0).high, 8000.0);
    EXPECT_EQ(fitCappedAxis(std::vector{2500.0, 4400.0}, 2500.0).high, 5000.0);
}

TEST(AverageWindow, grows_with_the_shots_from_ten) {
    EXPECT_EQ(averageWindow(1), 10u);
    EXPECT_EQ(averageWindow(500), 10u);
    EXPECT_EQ(averageWindow(10'000), 200u);
}

TEST(ColumnSummaries, cover_every_shot_once_in_order_with_their_range_and_mean) {
    std::vector<double> speeds;
    for (int i = 1; i <= 10; ++i) {
        speeds.push_back(100.0 * i);
    }
    const auto columns = columnSummaries(speeds, 3);
    ASSERT_EQ(columns.size(), 3u);
    std::size_t next = 1;
    for (const auto& column : columns) {
        EXPECT_EQ(column.first, next);
        EXPECT_EQ(column.slowest, 100.0 * double(column.first));
        EXPECT_EQ(column.fastest, 100.0 * double(column.last));
        EXPECT_EQ(column.mean, 50.0 * double(column.first + column.last));
        next = column.last + 1;
    }
    EXPECT_EQ(next, 11u);
    EXPECT_EQ(columnSummaries(speeds, 540).size(), 10u);
}
