#pragma once

#include "FileStatus.h"

#include <filesystem>
#include <optional>

namespace kickmark {

// The name a session gets in the keep folder: its time in UTC, "YYYY-MM-DD-HHMMSS.csv", and
// "-2", "-3" ... before ".csv" when that name holds another session.
std::filesystem::path keptName(files::FileTime time, int attempt);

// The time a name that keptName gives holds (to the second); nothing for any other name.
std::optional<files::FileTime> timeOfKeptName(const std::filesystem::path& name);

// When a session happened. A kept copy goes by the time in its name, which copying, unzipping
// or syncing a folder leaves alone while it may reset the file's time; any other file goes by
// its modification time.
files::FileTime sessionTime(const std::filesystem::path& path, files::FileTime modified);

} // namespace kickmark
