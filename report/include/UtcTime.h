#pragma once

#include "FileStatus.h"

#include <string>

namespace kickmark {

enum class TimeText {
    minutes, // 2026-12-08 18:04
    seconds, // 2026-12-08 18:04:09
    name,    // 2026-12-08-180409, for a file name
};

// A modification time in UTC, so that names and labels do not change with the time zone or
// daylight saving time. Every time the system can give a file has one: years past 9999 get
// more digits, years before year 1 a minus sign.
std::string utcTimeText(files::FileTime time, TimeText form);

} // namespace kickmark
