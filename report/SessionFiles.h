#pragma once

#include "Session.h"

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace kickmark {

struct SessionFile {
    std::filesystem::path path;
    std::filesystem::file_time_type modified;
};

// Each file as given and every *.csv file directly in each folder, oldest first by modification
// time (then by path, so equal times keep one order). A file named twice, under any spelling, is
// one session. Throws CannotRead when a path is missing or a folder cannot be listed.
std::vector<SessionFile> findSessionFiles(std::span<const std::string> paths);

// Reads every file; throws NotASpeed or CannotRead as readShots does.
std::vector<Session> readSessions(std::span<const SessionFile> files);

// "YYYY-MM-DD HH:MM:SS" in UTC, so names and labels do not change with the time zone or
// daylight saving time.
std::string utcTimeText(std::filesystem::file_time_type time);

} // namespace kickmark
