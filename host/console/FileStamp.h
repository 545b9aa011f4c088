#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "FileStatus.h"

// What tells one version of a file from another: the file itself (replacing it by renaming
// another over it gives a new one, even with the same bytes), its size, its last write and its
// bytes. The bytes catch a write in place on a file system whose clock is too coarse to move
// the time; only a rewrite of the same bytes within one tick of that clock goes unseen.
struct FileStamp {
    std::optional<kickmark::files::FileStatus> status;
    std::optional<std::string> bytes;

    friend bool operator==(const FileStamp& a, const FileStamp& b) {
        auto sameStatus = [](const auto& x, const auto& y) {
            return x.id == y.id && x.size == y.size && x.modified == y.modified;
        };
        return a.status.has_value() == b.status.has_value() &&
               (!a.status || sameStatus(*a.status, *b.status)) && a.bytes == b.bytes;
    }
};

FileStamp stampOf(const std::filesystem::path& file);
