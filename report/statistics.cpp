#include "statistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kickmark {
namespace {

double percentile(std::span<const double> sorted, double fraction) {
    const double rank = fraction * static_cast<double>(sorted.size() - 1);
    const auto lower = static_cast<std::size_t>(std::floor(rank));
    if (lower + 1 >= sorted.size()) {
        return sorted[lower];
    }
    const double weight = rank - static_cast<double>(lower);
    return sorted[lower] + weight * (sorted[lower + 1] - sorted[lower]);
}

} // namespace

Summary summarize(std::span<const double> speeds) {
    std::vector<double> sorted(speeds.begin(), speeds.end());
    std::ranges::sort(sorted);
    const auto count = static_cast<double>(sorted.size());
    const double mean = std::accumulate(sorted.begin(), sorted.end(), 0.0) / count;
    double squares = 0.0;
    for (const double speed : sorted) {
        squares += (speed - mean) * (speed - mean);
    }
    return Summary{
        .shots = sorted.size(),
        .fastest = sorted.back(),
        .mean = mean,
        .median = percentile(sorted, 0.5),
        .percentile_90 = percentile(sorted, 0.9),
        .standard_deviation = std::sqrt(squares / count),
    };
}

std::vector<double> running_best(std::span<const double> speeds) {
    std::vector<double> best;
    best.reserve(speeds.size());
    for (const double speed : speeds) {
        best.push_back(best.empty() ? speed : std::max(best.back(), speed));
    }
    return best;
}

std::vector<double> moving_average(std::span<const double> speeds, std::size_t window) {
    std::vector<double> averages;
    averages.reserve(speeds.size());
    for (std::size_t i = 0; i < speeds.size(); ++i) {
        const std::size_t first = i + 1 > window ? i + 1 - window : 0;
        const auto recent = speeds.subspan(first, i + 1 - first);
        averages.push_back(std::accumulate(recent.begin(), recent.end(), 0.0) /
                           static_cast<double>(recent.size()));
    }
    return averages;
}

} // namespace kickmark
