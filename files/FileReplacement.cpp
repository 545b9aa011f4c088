#include "FileReplacement.h"

#include "FileErrors.h"
#include "NativeFile.h"
#include "Temporary.h"

#include <algorithm>

namespace kickmark::files {

namespace fs = std::filesystem;

namespace {

// Linux follows 40 links in one lookup and calls a 41st a loop; so does this.
constexpr int maxLinks = 40;

std::error_code followLinks(fs::path& path) {
    for (int links = 0; isLink(path); ++links) {
        if (links == maxLinks)
            return std::make_error_code(std::errc::too_many_symbolic_link_levels);
        fs::path next;
        if (auto error = readLink(path, next))
            return error;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return {};
}

std::error_code memoryRunOut() noexcept {
    return std::make_error_code(std::errc::not_enough_memory);
}

std::error_code writeWhole(NativeFile& file, std::string_view bytes,
                           std::optional<FileTime> modified = std::nullopt) {
    std::error_code error = file.writeAt(0, bytes);
    if (!error && modified)
        error = file.setModified(*modified);
    if (!error)
        error = file.sync();
    if (!error)
        error = file.close();
    return error;
}

// A new file written under its final name: complete, or removed.
std::error_code writeNew(const fs::path& path, std::string_view bytes,
                         std::optional<FileTime> modified = std::nullopt) {
    std::error_code error;
    NativeFile file = NativeFile::createNew(path, error);
    if (!error && (error = writeWhole(file, bytes, modified)))
        removeQuietly(path);
    return error;
}

// After a failed write in place: the old bytes, size and time go back, and are checked.
std::error_code putBack(NativeFile& file, const std::string& previous, FileTime modified,
                        std::error_code cause) {
    file.writeAt(0, previous);
    file.resize(previous.size());
    file.sync();
    std::string now;
    if (file.setModified(modified) || file.readAll(now) || now != previous)
        return FileError::notRestored;
    return cause;
}

// The way left when the file cannot be swapped: overwrite it where it is. What lies beyond
// the old end is written first, so that a full disk refuses the save before a single old byte
// is overwritten.
std::error_code writeInPlace(const fs::path& path, std::string_view bytes, bool existed) {
    if (!existed)
        return writeNew(path, bytes);
    std::error_code error;
    NativeFile file = NativeFile::openExisting(path, error);
    if (error)
        return error;
    FileStatus status;
    std::string previous;
    if ((error = file.status(status)) || (error = file.readAll(previous)))
        return error;
    if (!status.regular)
        return FileError::notRegularFile;
    const auto kept = std::min(previous.size(), bytes.size());
    if (bytes.size() > kept && (error = file.writeAt(kept, bytes.substr(kept))))
        return putBack(file, previous, status.modified, error);
    if ((error = file.writeAt(0, bytes.substr(0, kept))) ||
        (bytes.size() < previous.size() && (error = file.resize(bytes.size()))) ||
        (error = file.sync()))
        return putBack(file, previous, status.modified, error);
    return file.close();
}

} // namespace

std::error_code replaceFile(const fs::path& file, std::string_view bytes) noexcept {
    try {
        fs::path target = file;
        if (auto error = followLinks(target))
            return error;
        FileStatus old;
        const std::error_code missing = fileStatus(target, old);
        if (missing && missing != std::errc::no_such_file_or_directory)
            return missing;
        const bool existed = !missing;
        if (existed && !old.regular)
            return FileError::notRegularFile;
        if (existed && (old.readOnly || !mayWrite(target)))
            return FileError::readOnly;

        removeAbandonedTemporaries(target);
        if (std::error_code error; Temporary temporary = Temporary::createBeside(target, error)) {
            if (existed)
                temporary.file().takeSettingsOf(old);
            if ((error = writeWhole(temporary.file(), bytes)))
                return error;
            if (!renameReplacing(temporary.path(), target)) {
                temporary.release();
                return {};
            }
            // Windows refuses to replace a file that a reader holds open without sharing its
            // deletion, while it still lets the file be written.
        }
        return writeInPlace(target, bytes, existed);
    } catch (...) {
        return memoryRunOut();
    }
}

std::error_code createFile(const fs::path& file, std::string_view bytes,
                           std::optional<FileTime> modified) noexcept {
    try {
        std::error_code error;
        Temporary temporary = Temporary::createBeside(file, error);
        if (!temporary)
            return error;
        if ((error = writeWhole(temporary.file(), bytes, modified)))
            return error;
        error = moveToNewName(temporary.path(), file);
        temporary.release();
        // A file system without hard links (FAT, some network shares): the new name is made
        // exclusively and written directly, and removed if that fails.
        if (error == std::errc::operation_not_permitted || error == std::errc::not_supported ||
            error == std::errc::operation_not_supported)
            return writeNew(file, bytes, modified);
        return error;
    } catch (...) {
        return memoryRunOut();
    }
}

} // namespace kickmark::files
