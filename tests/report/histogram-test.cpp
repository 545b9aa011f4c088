#include "histogram.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kickmark;

TEST(MakeHistogram, BinEdgeBelongsToUpperBinAndEmptyBinsInBetweenStay) {
    const Histogram histogram = make_histogram(std::vector{999.99, 1000.0, 2600.0});
    EXPECT_EQ(histogram.bin_width, 500.0);
    EXPECT_EQ(histogram.first_bin_start, 500.0);
    EXPECT_EQ(histogram.counts, (std::vector<std::size_t>{1, 1, 0, 0, 1}));
}

TEST(MakeHistogram, AbsurdOutlierWidensBinsInsteadOfExploding) {
    const Histogram histogram = make_histogram(std::vector{1500.0, 1e300});
    EXPECT_LE(histogram.counts.size(), 61u);
    EXPECT_EQ(histogram.counts.front() + histogram.counts.back(), 2u);
}
