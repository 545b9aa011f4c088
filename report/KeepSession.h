#pragma once

#include <filesystem>
#include <stdexcept>

namespace kickmark {

// What() is "cannot keep FILE in FOLDER: reason".
class CannotKeep : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Kept {
    std::filesystem::path path; // the session's file in the folder
    bool copied = false;        // false: the folder held the same bytes already
};

// The name a session gets in the keep folder: its modification time in UTC,
// "YYYY-MM-DD-HHMMSS.csv", and "-2", "-3" ... before ".csv" when that name holds another session.
std::filesystem::path keptName(std::filesystem::file_time_type modified, int attempt);

// Copies `shots` into `folder` (created when missing) under keptName, with the same
// modification time, unless a .csv file in the folder has the same bytes. Never replaces a file.
Kept keepSession(const std::filesystem::path& shots, const std::filesystem::path& folder);

} // namespace kickmark
