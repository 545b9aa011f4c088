#include "SessionRows.h"

#include <string_view>

namespace kickmark {
namespace {

// The date up to its `dashes`-th dash: "2026-12" of "2026-12-08 18:04" for 2, "2026" for 1. A
// year before year 1 starts with a minus sign, so the first character is never a dash.
std::string_view periodOf(std::string_view date, std::size_t dashes) {
    std::size_t end = 0;
    for (std::size_t dash = 0; dash < dashes && end != std::string_view::npos; ++dash) {
        end = date.find('-', end + 1);
    }
    return date.substr(0, end);
}

// Sessions [first, end) in runs that share a period, one row each.
std::vector<SessionRow> runsOf(std::span<const Session> sessions, std::size_t first,
                               std::size_t end, std::size_t dashes) {
    std::vector<SessionRow> runs;
    for (std::size_t i = first; i < end; ++i) {
        if (runs.empty() ||
            periodOf(sessions[i].date, dashes) != periodOf(sessions[i - 1].date, dashes)) {
            runs.push_back({.first = i, .count = 0, .months = {}});
        }
        ++runs.back().count;
    }
    return runs;
}

SessionRow merged(std::span<const SessionRow> runs) {
    return {.first = runs.front().first,
            .count = runs.back().first + runs.back().count - runs.front().first,
            .months = {}};
}

} // namespace

std::vector<SessionRow> sessionRows(std::span<const Session> sessions, bool everySession) {
    std::vector<SessionRow> rows;
    const std::size_t one = everySession || sessions.size() <= mostSessionRows
                                ? 0
                                : sessions.size() - recentSessionRows;
    if (one > 0) {
        const auto months = runsOf(sessions, 0, one, 2);
        const std::size_t firstMonth = months.size() > monthRows ? months.size() - monthRows : 0;
        const auto years = runsOf(sessions, 0, months[firstMonth].first, 1);
        if (years.size() > yearRows) {
            rows.push_back(merged(std::span(years).first(years.size() - yearRows)));
        }
        for (std::size_t i = years.size() > yearRows ? years.size() - yearRows : 0;
             i < years.size(); ++i) {
            rows.push_back(years[i]);
        }
        rows.insert(rows.end(), months.begin() + static_cast<std::ptrdiff_t>(firstMonth),
                    months.end());
        for (auto& row : rows) {
            const auto from = periodOf(sessions[row.first].date, 2);
            const auto to = periodOf(sessions[row.first + row.count - 1].date, 2);
            row.months = std::string(from) + (from == to ? "" : " to " + std::string(to));
        }
    }
    for (std::size_t i = one; i < sessions.size(); ++i) {
        rows.push_back({.first = i, .count = 1, .months = {}});
    }
    return rows;
}

} // namespace kickmark
