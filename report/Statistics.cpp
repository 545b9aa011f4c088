#include "Statistics.h"

#include <algorithm>
#include <cmath>

namespace kickmark {
namespace {

// A power of two, so dividing by it is exact: the largest magnitude becomes less than 1 and no
// sum of squares of a file's worth of speeds can overflow.
double scale_of(std::span<const double> speeds) {
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
    const double scale = scale_of(sorted);

    CompensatedSum sum;
    for (const double speed : speeds) {
        sum.add(speed / scale);
    }
    const double scaled_mean = sum.value() / count;
    CompensatedSum squares;
    for (const double speed : speeds) {
        const double deviation = speed / scale - scaled_mean;
        squares.add(deviation * deviation);
    }
    return Summary{
        .shots = sorted.size(),
        .slowest = sorted.front(),
        .fastest = sorted.back(),
        // Rounding may not carry the mean of equal speeds past them.
        .mean = std::clamp(scaled_mean * scale, sorted.front(), sorted.back()),
        .median = percentile(sorted, 0.5),
        .percentile_90 = percentile(sorted, 0.9),
        .standard_deviation = std::sqrt(std::max(0.0, squares.value() / count)) * scale,
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
    // Subtracting the speed that leaves the window would cancel a huge one only approximately
    // and leave its rounding error in every later point. Instead the window is two stacks: the
    // older part keeps sums of each speed and all newer ones in it, the newer part one plain
    // sum, so every point is a sum of speeds actually in the window.
    std::vector<double> averages;
    averages.reserve(speeds.size());
    std::vector<double> older_sums; // back() holds the oldest speed in the window and all after
    std::size_t newer_first = 0;    // index in `speeds` where the newer part starts
    double newer_sum = 0.0;
    for (std::size_t i = 0; i < speeds.size(); ++i) {
        newer_sum += speeds[i];
        const std::size_t in_window = std::min(i + 1, std::max<std::size_t>(window, 1));
        if (older_sums.size() + (i + 1 - newer_first) > in_window) {
            if (older_sums.empty()) {
                // Move the newer part over, newest first, so each entry sums itself and newer.
                double suffix = 0.0;
                for (std::size_t j = i + 1; j-- > newer_first;) {
                    suffix += speeds[j];
                    older_sums.push_back(suffix);
                }
                newer_first = i + 1;
                newer_sum = 0.0;
            }
            older_sums.pop_back();
        }
        const double older = older_sums.empty() ? 0.0 : older_sums.back();
        averages.push_back((older + newer_sum) / static_cast<double>(in_window));
    }
    return averages;
}

} // namespace kickmark
