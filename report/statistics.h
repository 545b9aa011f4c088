#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace kickmark {

struct Summary {
    std::size_t shots = 0;
    double fastest = 0.0;
    double mean = 0.0;
    double median = 0.0;
    double percentile_90 = 0.0;
    double standard_deviation = 0.0;
};

// `speeds` must not be empty. Percentiles interpolate between closest ranks (PERCENTILE.INC), and
// the standard deviation is the population one, so a single shot has 0.
Summary summarize(std::span<const double> speeds);

std::vector<double> running_best(std::span<const double> speeds);

// Each point averages the shot and up to `window - 1` shots before it, so the line starts at the
// first shot instead of `window` shots in.
std::vector<double> moving_average(std::span<const double> speeds, std::size_t window);

} // namespace kickmark
