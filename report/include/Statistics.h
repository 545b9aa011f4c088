#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace kickmark {

struct Summary {
    std::size_t shots = 0;
    double slowest = 0.0;
    double fastest = 0.0;
    double mean = 0.0;
    double median = 0.0;
    double percentile90 = 0.0;
    double standardDeviation = 0.0;
};

// `speeds` must not be empty. Percentiles interpolate between closest ranks (PERCENTILE.INC), and
// the standard deviation is the population one, so a single shot has 0. Any finite speeds give
// finite results: sums run over speeds scaled down by the largest magnitude, and every level
// (mean, median, percentile) lies between the slowest and the fastest shot.
Summary summarize(std::span<const double> speeds);

// `sorted` ascending and not empty; `fraction` in [0, 1].
double percentile(std::span<const double> sorted, double fraction);

std::vector<double> runningBest(std::span<const double> speeds);

// Each point averages the shot and up to `window - 1` shots before it, so the line starts at the
// first shot instead of `window` shots in. A huge speed leaving the window leaves no trace in the
// points after it.
std::vector<double> movingAverage(std::span<const double> speeds, std::size_t window);

} // namespace kickmark
