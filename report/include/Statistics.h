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

// A session's speeds in shot order and, sorted once, in ascending order. Sorting millions of
// speeds costs more than the rest of a report together, so the report and the chart read every
// rank from this one sorted copy.
class RankedSpeeds {
public:
    // `inOrder` must outlive this.
    explicit RankedSpeeds(std::span<const double> inOrder);
    // Not copied by accident: a copy of millions of speeds is what this saves.
    RankedSpeeds(const RankedSpeeds&) = delete;
    RankedSpeeds& operator=(const RankedSpeeds&) = delete;

    std::span<const double> inOrder() const { return inOrder_; }
    std::span<const double> sorted() const { return sorted_; }

private:
    std::span<const double> inOrder_;
    std::vector<double> sorted_;
};

// `speeds` must not be empty. Percentiles interpolate between closest ranks (PERCENTILE.INC), and
// the standard deviation is the population one, so a single shot has 0. Any finite speeds give
// finite results: sums run over speeds scaled down by the largest magnitude, and every level
// (mean, median, percentile) lies between the slowest and the fastest shot.
Summary summarize(const RankedSpeeds& speeds);
Summary summarize(std::span<const double> speeds); // sorts a copy

// The last `recentCount` shots and the ones before them, each summarised as above. `speeds`
// holds more than `recentCount`. The shots before are ranked within the sorted copy with the
// recent ones left out, so however many there are, they are not sorted again.
struct RecentSplit {
    Summary recent;
    Summary before;
};
RecentSplit splitRecent(const RankedSpeeds& speeds, std::size_t recentCount);

// `sorted` ascending and not empty; `fraction` in [0, 1].
double percentile(std::span<const double> sorted, double fraction);

std::vector<double> runningBest(std::span<const double> speeds);

// Each point averages the shot and up to `window - 1` shots before it, so the line starts at the
// first shot instead of `window` shots in. A huge speed leaving the window leaves no trace in the
// points after it.
std::vector<double> movingAverage(std::span<const double> speeds, std::size_t window);

} // namespace kickmark
