#include "shots_file.h"
#include "statistics.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kickmark;

namespace {

Summary summarize_file(const std::string& name) {
    return summarize(read_shots(data_file(name).string()));
}

} // namespace

TEST(Summarize, CrlfFileWithEvenCountAveragesMiddlePairAndInterpolatesPercentile) {
    // 2500, 4000, (blank), 1000, 1500 with CRLF line ends, deliberately unsorted.
    const Summary summary = summarize_file("crlf.csv");
    EXPECT_EQ(summary.shots, 4u);
    EXPECT_DOUBLE_EQ(summary.fastest, 4000.0);
    EXPECT_DOUBLE_EQ(summary.mean, 2250.0);
    EXPECT_DOUBLE_EQ(summary.median, 2000.0);
    EXPECT_DOUBLE_EQ(summary.percentile_90, 3550.0);
    EXPECT_NEAR(summary.standard_deviation, 1145.643924, 1e-6);
}

TEST(Summarize, SingleShotIsEveryStatisticWithZeroDeviation) {
    const Summary summary = summarize_file("single.csv");
    EXPECT_EQ(summary.shots, 1u);
    for (const double value :
         {summary.fastest, summary.mean, summary.median, summary.percentile_90}) {
        EXPECT_DOUBLE_EQ(value, 1523.400024);
    }
    EXPECT_EQ(summary.standard_deviation, 0.0);
}

TEST(Summarize, OddCountMedianIsMiddleValue) {
    EXPECT_DOUBLE_EQ(summarize(std::vector{900.0, 100.0, 500.0}).median, 500.0);
}

TEST(RunningBest, NeverDropsAfterSlowerShots) {
    EXPECT_EQ(running_best(std::vector{2.0, 1.0, 3.0, 2.5}), (std::vector{2.0, 2.0, 3.0, 3.0}));
}

TEST(MovingAverage, AveragesWhatExistsUntilWindowFillsThenSlides) {
    EXPECT_EQ(moving_average(std::vector{2.0, 4.0, 6.0, 10.0}, 3),
              (std::vector{2.0, 3.0, 4.0, 20.0 / 3.0}));
}
