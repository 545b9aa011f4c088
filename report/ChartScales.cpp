#include "ChartScales.h"

#include "SpeedUnits.h"
#include "Statistics.h"

#include <algorithm>
#include <cmath>

namespace kickmark {
namespace {

// At least 1 unit/s, and never so narrow against the speeds' size that ticks would fall closer
// than a double can tell apart.
double smallestSpan(double low, double high) {
    return std::max(1.0, 1e-6 * std::max(std::fabs(low), std::fabs(high)));
}

SpeedAxis roundOut(double low, double high, double wantedTicks) {
    const double step = roundStep(std::max(high - low, smallestSpan(low, high)), wantedTicks);
    SpeedAxis axis{std::floor(low / step) * step, std::ceil(high / step) * step, step};
    if (axis.high <= axis.low) {
        axis.high = axis.low + step;
    }
    return axis;
}

} // namespace

double roundStep(double span, double wantedTicks) {
    const double raw = (span > 0 ? span : 1.0) / wantedTicks;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double multiple : {1.0, 2.0, 5.0}) {
        if (multiple * magnitude >= raw) {
            return multiple * magnitude;
        }
    }
    return 10.0 * magnitude;
}

SpeedAxis fitSpeedAxis(std::span<const double> sorted) {
    // The shots at those ranks, not values interpolated towards a wild shot beyond them.
    const double last = static_cast<double>(sorted.size() - 1);
    const double bulkLow = sorted[static_cast<std::size_t>(std::ceil(0.01 * last))];
    const double bulkHigh = sorted[static_cast<std::size_t>(std::floor(0.99 * last))];
    // A few shots past the percentile are ordinary spread, not wild ones: the axis reaches every
    // shot within this distance of zero.
    const double reach = std::max({1.5 * std::fabs(bulkHigh), 1.5 * std::fabs(bulkLow),
                                   3 * std::fabs(percentile(sorted, 0.5))});
    const auto inside = [&](double speed) { return std::fabs(speed) <= reach; };
    const auto lowest = std::ranges::find_if(sorted, inside);
    const auto highest = std::ranges::find_if(sorted.rbegin(), sorted.rend(), inside);
    const double low = std::min(0.0, *lowest);
    SpeedAxis axis = roundOut(low, std::max(low, *highest), 6);
    // Histogram bins hold their lower edge, so a shot exactly on the top would fall in a bin
    // above the axis while its dot sits inside it.
    if (*highest >= axis.high) {
        axis.high += axis.step;
    }
    return axis;
}

SpeedAxis fitCappedAxis(std::span<const double> values, double typical) {
    const auto [smallest, largest] = std::ranges::minmax(values);
    const double low = std::min(0.0, smallest);
    const double high = typical > 0 ? std::min(largest, 3 * typical) : largest;
    return roundOut(low, std::max(low, high), 5);
}

std::vector<double> axisTicks(double low, double high, double step) {
    std::vector<double> values;
    const double first = std::ceil(low / step);
    // Counted, not stepped: adding a step to a huge value may not change it.
    const double count = std::floor(high / step + 1e-9) - first + 1;
    for (double index = 0; index < std::min(count, 1000.0); ++index) {
        values.push_back((first + index) * step);
    }
    return values;
}

std::vector<double> kmhTicks(const SpeedAxis& axis) {
    const double low = toKmh(axis.low);
    const double high = toKmh(axis.high);
    return axisTicks(low, high, roundStep(high - low, 6));
}

std::size_t averageWindow(std::size_t shots) {
    return std::max<std::size_t>(10, shots / 50);
}

} // namespace kickmark
