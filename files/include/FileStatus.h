#pragma once

#include <compare>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace kickmark::files {

// Which file a name leads to: the device (Windows: the volume serial) and the file's number on
// it. Two names with one identity are one file, whatever links or spellings lead there. A pipe
// or a device on Windows has none: all zero, the same file as nothing.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    friend auto operator<=>(const FileId&, const FileId&) = default;
};

// A modification time since 1970-01-01 UTC, with the whole range the system keeps.
struct FileTime {
    std::int64_t seconds = 0;
    std::int32_t nanoseconds = 0;
    friend auto operator<=>(const FileTime&, const FileTime&) = default;
};

struct FileStatus {
    FileId id;
    std::uint64_t size = 0;
    FileTime modified;
    bool regular = false;
    // Set so that its owner may not write it: mode bits without a write bit (for root too), or
    // Windows' read-only attribute.
    bool readOnly = false;
    // Permission bits, owner and group where the system has them.
    std::uint32_t mode = 0;
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
};

// What the system says of the file a path leads to, links followed. A missing file is
// std::errc::no_such_file_or_directory.
std::error_code fileStatus(const std::filesystem::path& path, FileStatus& status) noexcept;

// Whether two paths lead to one existing file.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) noexcept;

// The clock modification times are read on, now.
FileTime currentTime() noexcept;

} // namespace kickmark::files
