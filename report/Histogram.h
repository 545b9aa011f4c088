#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace kickmark {

// Bins are 500 units/s wide and aligned to multiples of the width; bins between the slowest and
// fastest shot are kept even when empty, so gaps in the spread stay visible. When the speeds
// spread over more rows than a screen shows, the rows follow the bulk of the shots: the last row
// holds every shot from its start up (an open bin), and shots below the first percentile's bin
// go to a first open row.
struct Histogram {
    double bin_width = 0.0;
    double first_bin_start = 0.0;
    std::vector<std::size_t> counts;
    bool open_below = false; // counts.front() holds every shot below first_bin_start
    bool open_above = false; // counts.back() holds every shot from its start up

    static constexpr std::size_t max_rows = 20;

    // The start of row `bin`; for an open first row, the end of it (first_bin_start).
    double bin_start(std::size_t bin) const {
        const std::size_t closed = open_below ? (bin == 0 ? 0 : bin - 1) : bin;
        return first_bin_start + static_cast<double>(closed) * bin_width;
    }
};

// `speeds` must not be empty.
Histogram make_histogram(std::span<const double> speeds);

} // namespace kickmark
