#include "Histogram.h"

#include <algorithm>
#include <cmath>

namespace kickmark {
namespace {

constexpr double standardBinWidth = 500.0;

double binIndex(double speed) {
    return std::floor(speed / standardBinWidth);
}

} // namespace

Histogram makeHistogram(const RankedSpeeds& speeds) {
    const auto sorted = speeds.sorted();
    const auto rows = static_cast<double>(Histogram::maxRows);
    Histogram histogram;
    histogram.binWidth = standardBinWidth;

    double first = binIndex(sorted.front());
    double last = binIndex(sorted.back());
    if (last - first + 1 > rows) {
        // A stray slow shot must not pull every row down with it.
        const double bulkFirst = binIndex(percentile(sorted, 0.01));
        histogram.openBelow = bulkFirst > first;
        first = bulkFirst;
        const double closedRows = rows - (histogram.openBelow ? 1 : 0);
        if (last - first + 1 > closedRows) {
            histogram.openAbove = true;
            last = first + closedRows - 2;
        }
    }
    histogram.firstBinStart = first * standardBinWidth;
    const auto closed = static_cast<std::size_t>(last - first + 1);
    const std::size_t below = histogram.openBelow ? 1 : 0;
    histogram.counts.assign(below + closed + (histogram.openAbove ? 1 : 0), 0);
    for (const double speed : sorted) {
        const double index = binIndex(speed) - first;
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
