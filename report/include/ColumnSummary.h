#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace kickmark {

// The shots of one pixel column of the chart: numbers first to last (1-based, inclusive).
struct ColumnSummary {
    std::size_t first = 0;
    std::size_t last = 0;
    double slowest = 0.0;
    double fastest = 0.0;
    double mean = 0.0;
};

// Splits the shots in order into `columns` runs as equal as can be (fewer when there are fewer
// shots) and summarises each, so a million shots draw as a few hundred marks.
std::vector<ColumnSummary> columnSummaries(std::span<const double> speeds, std::size_t columns);

// How many values each column holds, as a legend says it: "10", or "9 or 10" when the runs are
// not all equal. `columns` not empty.
std::string columnLength(std::span<const ColumnSummary> columns);

} // namespace kickmark
