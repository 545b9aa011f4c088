#pragma once

#include "FileStatus.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace kickmark::files {

struct FileContent {
    std::string bytes;
    // The file's status when it was read, so that what was checked is what is kept.
    FileStatus status;
};

// Reads a regular file whole through one open handle. Refuses what is not a regular file
// (FileError::notRegularFile: a folder, a pipe or a device, without waiting on it), and a file
// whose size or modification time moved while it was read (FileError::changedWhileRead: it is
// being written; read it again after a moment).
std::error_code readFile(const std::filesystem::path& path, FileContent& content) noexcept;

} // namespace kickmark::files
