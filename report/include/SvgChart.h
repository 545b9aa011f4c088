#pragma once

#include "Session.h"
#include "Statistics.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <span>

namespace kickmark {

struct ChartInput {
    const RankedSpeeds& speeds;        // the session drawn shot by shot; may be empty
    std::size_t recentCount = 10;      // the title compares the last this many with the rest
    std::span<const Session> sessions; // two or more, oldest first, for the sessions panel
    std::int64_t futureAfter = 0;      // seconds since 1970 UTC: sessions later are in the future
};

// A standalone SVG document that fills its container, down to a width where its text is still
// readable, and fills a printed page: a title with the headline numbers, each shot's speed by
// shot number with the running best and a moving average, beside it the speed histogram on the
// same axis, and with several sessions a panel of each session's median and fastest shot, dated
// in local time.
void writeSvgChart(std::ostream& out, const ChartInput& input);

} // namespace kickmark
