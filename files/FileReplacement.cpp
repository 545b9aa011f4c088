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
    for (int links = 0;; ++links) {
        bool link = false;
        if (auto error = isLink(path, link))
            return error;
        if (!link)
            return {};
        if (links == maxLinks)
            return std::make_error_code(std::errc::too_many_symbolic_link_levels);
        fs::path next;
        if (auto error = readLink(path, next))
            return error;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
}

std::error_code memoryRunOut() noexcept {
    return std::make_error_code(std::errc::not_enough_memory);
}

// Written, dated if asked, on the disk and closed; `created` gets its status before it closes.
std::error_code writeWhole(NativeFile& file, std::string_view bytes,
                           std::optional<FileTime> modified = std::nullopt,
                           FileStatus* created = nullptr) {
    std::error_code error = file.writeAt(0, bytes);
    if (!error && modified)
        error = file.setModified(*modified);
    if (!error)
        error = file.sync();
    if (!error && created)
        error = file.status(*created);
    if (!error)
        error = file.close();
    return error;
}

// The system refuses this process something it asked for, rather than failing to do it.
bool refused(const std::error_code& error) {
    return error == std::errc::permission_denied || error == std::errc::operation_not_permitted ||
           error == std::errc::read_only_file_system;
}

// Why a file may have to be written where it is: its folder takes no new file.
bool folderTakesNoFile(const std::error_code& error) {
    return error == std::errc::permission_denied || error == std::errc::read_only_file_system;
}

// Why a finished temporary may not take the file's name: Windows refuses to replace a file
// that a reader holds open without sharing its deletion, while it still lets the file be
// written. Elsewhere a rename fails only for faults that a write in place would not mend.
bool swapBarred([[maybe_unused]] const std::error_code& error) {
#if defined(_WIN32)
    return error == std::errc::permission_denied;
#else
    return false;
#endif
}

// After a failed write in place: the old bytes go back and are read back; only when they are
// all there again do the old size and time follow. Otherwise the time stays as the failed
// write left it, so that the change shows. What is read back decides: a write that fails
// partway (a file-size limit) may still have put back every byte that had changed.
std::error_code putBack(NativeFile& file, const std::string& previous, FileTime modified,
                        std::error_code cause) {
    file.writeAt(0, previous);
    std::string now;
    if (file.readAll(now) || now.size() < previous.size() ||
        now.compare(0, previous.size(), previous) != 0)
        return FileError::notRestored;
    if (file.resize(previous.size()) || file.setModified(modified) || file.sync())
        return FileError::notRestored;
    return cause;
}

// The way left when the file cannot be swapped: overwrite it where it is. Taken only when the
// old content, size and time can all be put back, so first the time is set to itself: only the
// file's owner may set it. What lies beyond the old end is written next, so that a full disk
// refuses the save before a single old byte is overwritten.
std::error_code writeInPlace(const fs::path& path, std::string_view bytes) {
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
    if ((error = file.setModified(status.modified)))
        return refused(error) ? FileError::readOnly : error;
    const auto kept = std::min(previous.size(), bytes.size());
    if (bytes.size() > kept && (error = file.writeAt(kept, bytes.substr(kept))))
        return putBack(file, previous, status.modified, error);
    if ((error = file.writeAt(0, bytes.substr(0, kept))) ||
        (bytes.size() < previous.size() && (error = file.resize(bytes.size()))) ||
        (error = file.sync()))
        return putBack(file, previous, status.modified, error);
    // The new bytes are on the disk: a close that reports an error afterwards changes nothing.
    file.close();
    return {};
}

// The usual way: a new file, complete and on the disk, takes the old one's name. `barred` says
// whether the failure calls for a write in place instead.
std::error_code swap(const fs::path& target, std::string_view bytes,
                     const std::optional<FileStatus>& old, bool& barred) {
    std::error_code error;
    Temporary temporary = Temporary::createBeside(target, error);
    if (!temporary) {
        barred = folderTakesNoFile(error);
        return error;
    }
    if (old && (error = temporary.file().takeSettingsOf(*old)))
        return error;
    if ((error = writeWhole(temporary.file(), bytes)))
        return error;
    if ((error = renameReplacing(temporary.path(), target))) {
        barred = swapBarred(error);
        return error;
    }
    temporary.release();
    return {};
}

} // namespace

std::error_code replaceFile(const fs::path& file, std::string_view bytes) noexcept {
    try {
        fs::path target = file;
        if (auto error = followLinks(target))
            return error;
        FileStatus status;
        const std::error_code missing = fileStatus(target, status);
        if (missing && missing != std::errc::no_such_file_or_directory)
            return missing;
        std::optional<FileStatus> old;
        if (!missing)
            old = status;
        if (old && !old->regular)
            return FileError::notRegularFile;
        if (old && old->readOnly)
            return FileError::readOnly;
        if (const auto denied = old ? mayWrite(target) : std::error_code())
            return refused(denied) ? FileError::readOnly : denied;

        removeAbandonedTemporaries(target);
        bool barred = false;
        const std::error_code error = swap(target, bytes, old, barred);
        if (!barred)
            return error;
        return old ? writeInPlace(target, bytes) : error;
    } catch (...) {
        return memoryRunOut();
    }
}

std::error_code createFile(const fs::path& file, std::string_view bytes,
                           std::optional<FileTime> modified, FileStatus* created) noexcept {
    try {
        std::error_code error;
        Temporary temporary = Temporary::createBeside(file, error);
        if (!temporary)
            return error;
        if ((error = writeWhole(temporary.file(), bytes, modified, created)) ||
            (error = moveToNewName(temporary.path(), file)))
            return error;
        temporary.release();
        return {};
    } catch (...) {
        return memoryRunOut();
    }
}

} // namespace kickmark::files
