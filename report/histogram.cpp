#include "histogram.h"

#include <algorithm>
#include <cmath>

namespace kickmark {
namespace {

constexpr double standard_bin_width = 500.0;
constexpr double max_bins = 60.0;

double bins_spanned(double slowest, double fastest, double width) {
    return std::floor(fastest / width) - std::floor(slowest / width) + 1.0;
}

} // namespace

Histogram make_histogram(std::span<const double> speeds) {
    const auto [slowest, fastest] = std::ranges::minmax(speeds);
    double width = standard_bin_width;
    // One absurd value in a hand-edited file must not turn into millions of empty rows; real
    // sessions never come close to this many bins.
    const double needed = bins_spanned(slowest, fastest, width);
    if (needed > max_bins) {
        width *= std::ceil(needed / max_bins);
    }
    const double first_index = std::floor(slowest / width);
    Histogram histogram{
        .bin_width = width,
        .first_bin_start = first_index * width,
        .counts = std::vector<std::size_t>(
            static_cast<std::size_t>(bins_spanned(slowest, fastest, width)), 0),
    };
    for (const double speed : speeds) {
        ++histogram.counts[static_cast<std::size_t>(std::floor(speed / width) - first_index)];
    }
    return histogram;
}

} // namespace kickmark
