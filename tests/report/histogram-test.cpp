#include "Histogram.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

using namespace kickmark;

namespace {

std::size_t total(const Histogram& histogram) {
    return std::accumulate(histogram.counts.begin(), histogram.counts.end(), std::size_t{0});
}

} // namespace

TEST(MakeHistogram, bin_edge_belongs_to_upper_bin_and_empty_bins_in_between_stay) {
    const Histogram histogram = makeHistogram(RankedSpeeds(std::vector{999.99, 1000.0, 2600.0}));
    EXPECT_EQ(histogram.binWidth, 500.0);
    EXPECT_EQ(histogram.firstBinStart, 500.0);
    EXPECT_EQ(histogram.counts, (std::vector<std::size_t>{1, 1, 0, 0, 1}));
    EXPECT_FALSE(histogram.openBelow || histogram.openAbove);
}

TEST(MakeHistogram, twenty_rows_of_spread_stay_closed) {
    const Histogram histogram = makeHistogram(RankedSpeeds(std::vector{0.0, 9999.0}));
    EXPECT_EQ(histogram.counts.size(), 20u);
    EXPECT_FALSE(histogram.openBelow || histogram.openAbove);
}

TEST(MakeHistogram, a_wider_spread_keeps_the_width_and_opens_the_top_row) {
    std::vector<double> speeds;
    for (int i = 0; i < 200; ++i) {
        speeds.push_back(1000.0 + 15.0 * i);
    }
    speeds.push_back(1e19);
    speeds.push_back(3.4e38);
    const Histogram histogram = makeHistogram(RankedSpeeds(speeds));
    EXPECT_EQ(histogram.binWidth, 500.0);
    EXPECT_EQ(histogram.firstBinStart, 1000.0);
    ASSERT_EQ(histogram.counts.size(), Histogram::maxRows);
    EXPECT_TRUE(histogram.openAbove);
    EXPECT_FALSE(histogram.openBelow);
    // 19 closed rows cover 1000 to 10500; the open one starts there.
    EXPECT_EQ(histogram.binStart(19), 10500.0);
    EXPECT_EQ(histogram.counts.back(), 2u);
    EXPECT_EQ(total(histogram), speeds.size());
}

TEST(MakeHistogram, a_stray_slow_shot_goes_to_an_open_first_row) {
    std::vector<double> speeds(300, 3000.0);
    speeds.push_back(-3.4e38);
    speeds.push_back(4200.0);
    const Histogram histogram = makeHistogram(RankedSpeeds(speeds));
    EXPECT_TRUE(histogram.openBelow);
    EXPECT_FALSE(histogram.openAbove);
    EXPECT_EQ(histogram.firstBinStart, 3000.0);
    EXPECT_EQ(histogram.counts, (std::vector<std::size_t>{1, 300, 0, 1}));
}
