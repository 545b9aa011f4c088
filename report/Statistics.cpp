#include "Statistics.h"

#include <algorithm>
#include <cmath>

namespace kickmark {
namespace {

// A power of two, so dividing by it is exact: the largest magnitude becomes less than 1 and no
// sum of squares of a file's worth of speeds can overflow.
double scaleOf(double slowest, double fastest) {
    const double largest = std::max(std::fabs(slowest), std::fabs(fastest));
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

// `rankAt(k)` is the k-th smallest of `count` speeds.
template <class RankAt>
double percentileOf(std::size_t count, double fraction, const RankAt& rankAt) {
    const double rank = fraction * static_cast<double>(count - 1);
    const auto lower = std::min(static_cast<std::size_t>(std::floor(rank)), count - 1);
    if (lower + 1 >= count) {
        return rankAt(lower);
    }
    const double weight = rank - static_cast<double>(lower);
    const double low = rankAt(lower);
    const double high = rankAt(lower + 1);
    return std::clamp(std::lerp(low, high, weight), low, high);
}

// Sums in shot order, ranks through `rankAt` (over the same speeds).
template <class RankAt> Summary summaryOf(std::span<const double> speeds, const RankAt& rankAt) {
    const std::size_t shots = speeds.size();
    const auto count = static_cast<double>(shots);
    const double slowest = rankAt(0);
    const double fastest = rankAt(shots - 1);
    const double scale = scaleOf(slowest, fastest);

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
        .shots = shots,
        .slowest = slowest,
        .fastest = fastest,
        // Rounding may not carry the mean of equal speeds past them.
        .mean = std::clamp(scaledMean * scale, slowest, fastest),
        .median = percentileOf(shots, 0.5, rankAt),
        .percentile90 = percentileOf(shots, 0.9, rankAt),
        .standardDeviation = std::sqrt(std::max(0.0, squares.value() / count)) * scale,
    };
}

// The `rank`-th smallest of `all` without `removed`; both ascending, and `removed` a part of
// `all`. Equal speeds are alike, so it is the smallest speed of `all` with more than `rank`
// of the rest at or below it.
double rankWithout(std::span<const double> all, std::span<const double> removed, std::size_t rank) {
    const auto restUpTo = [&](std::size_t index) {
        const double speed = all[index];
        return static_cast<std::size_t>(std::ranges::upper_bound(all, speed) - all.begin()) -
               static_cast<std::size_t>(std::ranges::upper_bound(removed, speed) - removed.begin());
    };
    std::size_t low = 0;
    std::size_t high = all.size() - 1;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (restUpTo(middle) > rank) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return all[low];
}

} // namespace

RankedSpeeds::RankedSpeeds(std::span<const double> inOrder)
    : inOrder_(inOrder), sorted_(inOrder.begin(), inOrder.end()) {
    std::ranges::sort(sorted_);
}

double percentile(std::span<const double> sorted, double fraction) {
    return percentileOf(sorted.size(), fraction, [&](std::size_t rank) { return sorted[rank]; });
}

Summary summarize(const RankedSpeeds& speeds) {
    const auto sorted = speeds.sorted();
    return summaryOf(speeds.inOrder(), [&](std::size_t rank) { return sorted[rank]; });
}

Summary summarize(std::span<const double> speeds) {
    return summarize(RankedSpeeds(speeds));
}

RecentSplit splitRecent(const RankedSpeeds& speeds, std::size_t recentCount) {
    const auto inOrder = speeds.inOrder();
    const auto split = inOrder.size() - recentCount;
    const RankedSpeeds recent(inOrder.subspan(split));
    return {
        .recent = summarize(recent),
        .before = summaryOf(
            inOrder.first(split),
            [&](std::size_t rank) { return rankWithout(speeds.sorted(), recent.sorted(), rank); }),
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
