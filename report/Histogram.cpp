#include "Histogram.h"

#include "Statistics.h"

#include <algorithm>
#include <cmath>

namespace kickmark {
namespace {

constexpr double standard_bin_width = 500.0;

double bin_index(double speed) {
    return std::floor(speed / standard_bin_width);
}

} // namespace

Histogram make_histogram(std::span<const double> speeds) {
    std::vector<double> sorted(speeds.begin(), speeds.end());
    std::ranges::sort(sorted);
    const auto rows = static_cast<double>(Histogram::max_rows);
    Histogram histogram;
    histogram.bin_width = standard_bin_width;

    double first = bin_index(sorted.front());
    double last = bin_index(sorted.back());
    if (last - first + 1 > rows) {
        // A stray slow shot must not pull every row down with it.
        const double bulk_first = bin_index(percentile(sorted, 0.01));
        histogram.open_below = bulk_first > first;
        first = bulk_first;
        const double closed_rows = rows - (histogram.open_below ? 1 : 0);
        if (last - first + 1 > closed_rows) {
            histogram.open_above = true;
            last = first + closed_rows - 2;
        }
    }
    histogram.first_bin_start = first * standard_bin_width;
    const auto closed = static_cast<std::size_t>(last - first + 1);
    const std::size_t below = histogram.open_below ? 1 : 0;
    histogram.counts.assign(below + closed + (histogram.open_above ? 1 : 0), 0);
    for (const double speed : sorted) {
        const double index = bin_index(speed) - first;
        if (index < 0) {
            ++histogram.counts.front();
        } else if (index >= static_cast<double>(closed)) {
            ++histogram.counts.back();
        } else {
            ++histogram.counts[below + static_cast<std::size_t>(index)];
        }
    }
    return histogram;
}

} // namespace kickmark
