#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace kickmark {

// Bins are 500 units/s wide and aligned to multiples of the width; bins between the slowest and
// fastest shot are kept even when empty, so gaps in the spread stay visible.
struct Histogram {
    double bin_width = 0.0;
    double first_bin_start = 0.0;
    std::vector<std::size_t> counts;

    double bin_start(std::size_t bin) const {
        return first_bin_start + static_cast<double>(bin) * bin_width;
    }
};

// `speeds` must not be empty.
Histogram make_histogram(std::span<const double> speeds);

} // namespace kickmark
