#include "Statistics.h"

#include <algorithm>
#include <cmath>

namespace kickmark {
namespace {

// A power of two, so dividing by it is exact: the largest magnitude becomes less than 1 and no
// sum of squares of a file's worth of speeds can overflow.
double scaleOf(std::span<const double> speeds) {
    double largest = 0.0;
    for (const double speed : speeds) {
        largest = std::max(largest, std::fabs(speed));
    }
    if (largest == 0.0) {
        return 1.0;
    }
    int exponent = 0;
    std::frexp(largest, &exponent);
    return std::ldexp(1.0, exponent);
}

// Neumaier's compensated sum: a huge value followed by small ones keeps the small ones.
class CompensatedSum {
public:
    void add(double value) {
        const double total = sum_ + value;
        compensation_ +=
            std::fabs(sum_) >= std::fabs(value) ? (sum_ - total) + value : (value - total) + sum_;
        sum_ = total;
    }
    double value() const { return sum_ + compensation_; }

private:
    double sum_ = 0.0;
    double compensation_ = 0.0;
};

} // namespace

double percentile(std::span<const double> sorted, double fraction) {
    const double rank = fraction * static_cast<double>(sorted.size() - 1);
    const auto lower = std::min(static_cast<std::size_t>(std::floor(rank)), sorted.size() - 1);
    if (lower + 1 >= sorted.size()) {
        return sorted[lower];
    }
    const double weight = rank - static_cast<double>(lower);
    return std::clamp(std::lerp(sorted[lower], sorted[lower + 1], weight), sorted[lower],
                      sorted[lower + 1]);
}

Summary summarize(std::span<const double> speeds) {
    std::vector<double> sorted(speeds.begin(), speeds.end());
    std::ranges::sort(sorted);
    const auto count = static_cast<double>(sorted.size());
    const double scale = scaleOf(sorted);

    CompensatedSum sum;
    for (const double speed : speeds) {
        sum.add(speed / scale);
    }
    const double scaledMean = sum.value() / count;
    CompensatedSum squares;
    for (const double speed : speeds) {
        const double deviation = speed / scale - scaledMean;
        squares.add(deviation * deviation);
    }
    return Summary{
        .shots = sorted.size(),
        .slowest = sorted.front(),
        .fastest = sorted.back(),
        // Rounding may not carry the mean of equal speeds past them.
        .mean = std::clamp(scaledMean * scale, sorted.front(), sorted.back()),
        .median = percentile(sorted, 0.5),
        .percentile90 = percentile(sorted, 0.9),
        .standardDeviation = std::sqrt(std::max(0.0, squares.value() / count)) * scale,
    };
}

std::vector<double> runningBest(std::span<const double> speeds) {
    std::vector<double> best;
    best.reserve(speeds.size());
    for (const double speed : speeds) {
        best.push_back(best.empty() ? speed : std::max(best.back(), speed));
    }
    return best;
}

std::vector<double> movingAverage(std::span<const double> speeds, std::size_t window) {
    // Subtracting the speed that leaves the window would cancel a huge one only approximately
    // and leave its rounding error in every later point. Instead the window is two stacks: the
    // older part keeps sums of each speed and all newer ones in it, the newer part one plain
    // sum, so every point is a sum of speeds actually in the window.
    std::vector<double> averages;
    averages.reserve(speeds.size());
    std::vector<double> olderSums; // back() holds the oldest speed in the window and all after
    std::size_t newerFirst = 0;    // index in `speeds` where the newer part starts
    double newerSum = 0.0;
    for (std::size_t i = 0; i < speeds.size(); ++i) {
        newerSum += speeds[i];
        const std::size_t inWindow = std::min(i + 1, std::max<std::size_t>(window, 1));
        if (olderSums.size() + (i + 1 - newerFirst) > inWindow) {
            if (olderSums.empty()) {
                // Move the newer part over, newest first, so each entry sums itself and newer.
                double suffix = 0.0;
                for (std::size_t j = i + 1; j-- > newerFirst;) {
                    suffix += speeds[j];
                    olderSums.push_back(suffix);
                }
                newerFirst = i + 1;
                newerSum = 0.0;
            }
            olderSums.pop_back();
        }
        const double older = olderSums.empty() ? 0.0 : olderSums.back();
        averages.push_back((older + newerSum) / static_cast<double>(inWindow));
    }
    return averages;
}

} // namespace kickmark
