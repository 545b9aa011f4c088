#pragma once

#include "Statistics.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kickmark {

// One shots file: every save of the plugin replaces the file with the speeds since it was
// loaded or reset, so a file is one practice session.
struct Session {
    std::string name; // the file name, without its folder
    std::string date; // when the file was last written, "YYYY-MM-DD HH:MM" in UTC
    std::vector<double> speeds;
    std::int64_t time = 0; // the same moment in seconds since 1970-01-01 UTC
    // The speeds' summary when worked out already: a chart redrawn after each save then costs
    // no pass over every session's shots.
    std::optional<Summary> summary = std::nullopt;
};

} // namespace kickmark
