#pragma once

#include <compare>
#include <cstdint>
#include <filesystem>

// What tells one version of a file from another: the file itself (replacing it by renaming
// another over it gives a new one, even with the same bytes), its size and its last write.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    std::uint64_t size = 0;
    std::int64_t written = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

FileStamp stampOf(const std::filesystem::path& file);
