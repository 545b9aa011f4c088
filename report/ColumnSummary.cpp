#include "ColumnSummary.h"

#include <algorithm>

namespace kickmark {

std::vector<ColumnSummary> columnSummaries(std::span<const double> speeds, std::size_t columns) {
    columns = std::min(columns, speeds.size());
    std::vector<ColumnSummary> summaries;
    summaries.reserve(columns);
    for (std::size_t column = 0; column < columns; ++column) {
        const std::size_t begin = column * speeds.size() / columns;
        const std::size_t end = (column + 1) * speeds.size() / columns;
        const auto shots = speeds.subspan(begin, end - begin);
        const auto [slowest, fastest] = std::ranges::minmax(shots);
        // Speeds stay within float range, so a column's sum cannot overflow a double.
        double sum = 0.0;
        for (const double speed : shots) {
            sum += speed;
        }
        summaries.push_back({
            .first = begin + 1,
            .last = end,
            .slowest = slowest,
            .fastest = fastest,
            .mean = std::clamp(sum / static_cast<double>(shots.size()), slowest, fastest),
        });
    }
    return summaries;
}

std::string columnLength(std::span<const ColumnSummary> columns) {
    const auto length = [](const ColumnSummary& column) { return column.last - column.first + 1; };
    const auto [shortest, longest] = std::ranges::minmax(columns, {}, length);
    const std::size_t least = length(shortest);
    const std::size_t most = length(longest);
    return std::to_string(least) + (most > least ? " or " + std::to_string(most) : "");
}

} // namespace kickmark
