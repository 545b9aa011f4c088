#pragma once

#include "Statistics.h"

#include <cstddef>
#include <vector>

namespace kickmark {

// Bins are 500 units/s wide and aligned to multiples of the width; bins between the slowest and
// fastest shot are kept even when empty, so gaps in the spread stay visible. When the speeds
// spread over more rows than a screen shows, the rows follow the bulk of the shots: the last row
// holds every shot from its start up (an open bin), and shots below the first percentile's bin
// go to a first open row.
struct Histogram {
    double binWidth = 0.0;
    double firstBinStart = 0.0;
    std::vector<std::size_t> counts;
    bool openBelow = false; // counts.front() holds every shot below firstBinStart
    bool openAbove = false; // counts.back() holds every shot from its start up

    static constexpr std::size_t maxRows = 20;

    // The start of row `bin`; for an open first row, the end of it (firstBinStart).
    double binStart(std::size_t bin) const {
        const std::size_t closed = openBelow ? (bin == 0 ? 0 : bin - 1) : bin;
        return firstBinStart + static_cast<double>(closed) * binWidth;
    }
};

// `speeds` must not be empty.
Histogram makeHistogram(const RankedSpeeds& speeds);

} // namespace kickmark
