#pragma once

#include "Session.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace kickmark {

// A row of the sessions table: one session, or a run of consecutive older sessions together.
struct SessionRow {
    std::size_t first = 0; // index of its first session
    std::size_t count = 0; // sessions in it
    std::string months;    // for a run: "2026-11", or "2019-03 to 2021-12"; empty for one session
};

// Up to this many sessions, each has a row of its own.
constexpr std::size_t mostSessionRows = 40;
// Beyond, the newest this many have, and those before them are summarised.
constexpr std::size_t recentSessionRows = 10;
constexpr std::size_t monthRows = 12;
constexpr std::size_t yearRows = 5;

// Oldest first. Beyond mostSessionRows sessions (unless `everySession`): the last
// recentSessionRows one by one; before them a row per month for the latest monthRows months
// with sessions; before those a row per year for the latest yearRows years, and one row for all
// the years before. So the table has at most 28 rows however many sessions there are. Months
// and years are those of the sessions' dates (UTC), and sessions are in time order.
std::vector<SessionRow> sessionRows(std::span<const Session> sessions, bool everySession);

} // namespace kickmark
