#pragma once

#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace kickmark {

// What() is "cannot write FILE: reason".
class CannotWrite : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Replaces `target` with `content` as a whole: the text goes to a new file beside it that this
// program created, is flushed to disk, and only then takes the target's name. On any failure
// the earlier file is left byte for byte and the new one removed. A symbolic link keeps
// pointing where it did; its target is what gets replaced.
void replaceFile(const std::filesystem::path& target, std::string_view content);

// Writes `content` under `target` as replaceFile does, but only when nothing has that name:
// returns false, and writes nothing, when something has. Never replaces any file.
bool createFile(const std::filesystem::path& target, std::string_view content);

} // namespace kickmark
