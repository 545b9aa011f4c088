#pragma once

#include "SessionFile.h"

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace kickmark {

enum class LineEnd {
    optional,
    // Every save ends each line, so a file whose last line has no line end yet is still being
    // written.
    required,
};

// Reads each file whole, once it has settled: a file that changes while it is read (or, where
// a line end is required, whose last line has none) is being written, and is read again after
// a moment. The files come back in the order given, speeds not yet parsed. Throws CannotRead
// naming the first file that cannot be read, is not a regular file, or has not settled within
// about two seconds; with `refused`, such a file is left out instead, and why is added there.
std::vector<SessionFile> readSettled(std::span<const std::filesystem::path> paths, LineEnd lineEnd,
                                     std::vector<std::string>* refused = nullptr);

} // namespace kickmark
