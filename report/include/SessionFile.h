#pragma once

#include "FileStatus.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kickmark {

// One session's file as it was read: once, so that the bytes that were checked are the bytes
// that are kept, and the time and identity are those of the same read.
struct SessionFile {
    std::filesystem::path path;
    std::string bytes;
    files::FileStatus status;
    std::vector<double> speeds;
    // When the session happened (see sessionTime).
    files::FileTime time;
};

} // namespace kickmark
