#pragma once

#include <cstdint>
#include <string>

namespace kickmark {

// A time as the player's clock showed it, in the C library's local time zone: TZ where it is
// set, the system's zone otherwise.
struct LocalTime {
    std::string text;        // "2026-12-08 15:00"
    std::int64_t day = 0;    // days since 1970-01-01 on the local calendar
    std::int64_t offset = 0; // seconds ahead of UTC
};

// Reads the zone again (TZ may have changed since), once before a run of localTime calls: the
// C library need not look at each.
void readLocalZone();

// `seconds` since 1970-01-01 UTC. A time the C library cannot convert is given in UTC, and
// its offset says so.
LocalTime localTime(std::int64_t seconds);

// "UTC+14:00", "UTC-03:30", "UTC".
std::string zoneName(std::int64_t offset);

} // namespace kickmark
