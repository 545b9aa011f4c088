#include "NativeFile.h"

#include "SystemCalls.h"

#include <algorithm>
#include <utility>

#ifndef NOMINMAX
#define NOMINMAX // min and max stay std::min and std::max
#endif
#include <windows.h>

namespace kickmark::files {

namespace {

// A call reported as interrupted did nothing: it is made again.
template <typename Call> std::error_code retried(Call call) noexcept {
    for (;;) {
        const std::error_code error = call();
        if (error != std::errc::interrupted)
            return error;
    }
}

// 100-nanosecond ticks since 1601 against seconds since 1970.
constexpr std::int64_t ticksPerSecond = 10000000;
constexpr std::int64_t epochDifference = 11644473600;

FileTime timeFrom(std::uint64_t ticks) noexcept {
    const auto signedTicks = static_cast<std::int64_t>(ticks);
    const std::int64_t seconds = signedTicks / ticksPerSecond;
    const std::int64_t rest = signedTicks % ticksPerSecond;
    return {seconds - epochDifference, static_cast<std::int32_t>(rest * 100)};
}

std::uint64_t windowsTime(FileTime time) noexcept {
    return static_cast<std::uint64_t>((time.seconds + epochDifference) * ticksPerSecond +
                                      time.nanoseconds / 100);
}

std::error_code statusOf(HANDLE handle, FileStatus& status) noexcept {
    // A pipe or a device has no file information to give: it is simply not a regular file.
    unsigned long type = 0;
    if (auto error = retried([&] { return systemCalls().fileType(handle, type); }))
        return error;
    if (type != FILE_TYPE_DISK) {
        status = {};
        return {};
    }
    HandleInformation info;
    if (auto error = retried([&] { return systemCalls().fileInformation(handle, info); }))
        return error;
    status = {};
    status.id = {info.volume, info.index};
    status.size = info.size;
    status.modified = timeFrom(info.lastWrite);
    status.regular = !(info.attributes & FILE_ATTRIBUTE_DIRECTORY);
    status.readOnly = (info.attributes & FILE_ATTRIBUTE_READONLY) != 0;
    return {};
}

HANDLE open(const std::filesystem::path& path, DWORD access, DWORD disposition, DWORD flags,
            std::error_code& error) noexcept {
    HANDLE handle = nullptr;
    error = retried(
        [&] { return systemCalls().createFile(path.c_str(), access, disposition, flags, handle); });
    return error ? nullptr : handle;
}

} // namespace

NativeFile::NativeFile(NativeFile&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

NativeFile::~NativeFile() {
    close();
}

NativeFile NativeFile::createNew(const std::filesystem::path& path,
                                 std::error_code& error) noexcept {
    return NativeFile(
        open(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, error));
}

NativeFile NativeFile::openExisting(const std::filesystem::path& path,
                                    std::error_code& error) noexcept {
    return NativeFile(open(path, GENERIC_READ | GENERIC_WRITE | FILE_WRITE_ATTRIBUTES,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, error));
}

NativeFile NativeFile::openForReading(const std::filesystem::path& path,
                                      std::error_code& error) noexcept {
    return NativeFile(open(path, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, error));
}

NativeFile::operator bool() const noexcept {
    return handle_ != nullptr;
}

std::error_code NativeFile::status(FileStatus& status) const noexcept {
    return statusOf(handle_, status);
}

std::error_code NativeFile::readAll(std::string& bytes) const noexcept {
    try {
        bytes.clear();
        char buffer[65536];
        for (std::uint64_t offset = 0;;) {
            unsigned long count = 0;
            if (auto error = retried([&] {
                    return systemCalls().readFile(handle_, buffer, sizeof buffer, offset, count);
                }))
                return error;
            if (count == 0)
                return {};
            bytes.append(buffer, count);
            offset += count;
        }
    } catch (...) {
        return std::make_error_code(std::errc::not_enough_memory);
    }
}

std::error_code NativeFile::writeAt(std::uint64_t offset, std::string_view bytes) noexcept {
    while (!bytes.empty()) {
        const auto chunk = static_cast<unsigned long>(std::min<std::size_t>(bytes.size(), 1 << 30));
        unsigned long count = 0;
        if (auto error = retried([&] {
                return systemCalls().writeFile(handle_, bytes.data(), chunk, offset, count);
            }))
            return error;
        bytes.remove_prefix(count);
        offset += count;
    }
    return {};
}

std::error_code NativeFile::resize(std::uint64_t size) noexcept {
    return retried([&] { return systemCalls().setEndOfFile(handle_, size); });
}

std::error_code NativeFile::setModified(FileTime time) noexcept {
    return retried([&] { return systemCalls().setFileTime(handle_, windowsTime(time)); });
}

// A new file takes its folder's permissions; there are no bits to carry over.
std::error_code NativeFile::takeSettingsOf(const FileStatus&) noexcept {
    return {};
}

std::error_code NativeFile::sync() noexcept {
    return retried([&] { return systemCalls().flushFileBuffers(handle_); });
}

std::error_code NativeFile::close() noexcept {
    if (!handle_)
        return {};
    // Never repeated: the handle is gone whatever the call reports.
    const std::error_code error = systemCalls().closeHandle(std::exchange(handle_, nullptr));
    return error == std::errc::interrupted ? std::error_code() : error;
}

std::error_code fileStatus(const std::filesystem::path& path, FileStatus& status) noexcept {
    // Attributes only, and every sharing mode, so that looking never stands in anyone's way;
    // the backup flag lets a folder be looked at too.
    std::error_code error;
    HANDLE handle =
        open(path, FILE_READ_ATTRIBUTES, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, error);
    if (!handle)
        return error;
    error = statusOf(handle, status);
    systemCalls().closeHandle(handle);
    return error;
}

std::error_code renameReplacing(const std::filesystem::path& from,
                                const std::filesystem::path& to) noexcept {
    return retried([&] {
        return systemCalls().moveFile(from.c_str(), to.c_str(),
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    });
}

std::error_code moveToNewName(const std::filesystem::path& from,
                              const std::filesystem::path& to) noexcept {
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken.
    return retried(
        [&] { return systemCalls().moveFile(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH); });
}

std::error_code folderEntries(const std::filesystem::path& folder,
                              std::vector<std::filesystem::path>& names) {
    FoundEntry found;
    HANDLE listing = nullptr;
    const std::filesystem::path pattern = folder / L"*";
    if (auto error =
            retried([&] { return systemCalls().findFirstFile(pattern.c_str(), listing, found); }))
        return error;
    struct Closer {
        HANDLE listing;
        ~Closer() { systemCalls().findClose(listing); }
    } closer{listing};
    for (bool more = true; more;) {
        if (found.name != L"." && found.name != L"..")
            names.emplace_back(found.name);
        if (auto error = retried([&] { return systemCalls().findNextFile(listing, found, more); }))
            return error;
    }
    return {};
}

std::error_code isLink(const std::filesystem::path& path, bool& link) noexcept {
    // Only a symbolic link: a synced folder's placeholders are reparse points of other kinds.
    link = false;
    try {
        FoundEntry found;
        HANDLE listing = nullptr;
        const std::error_code error =
            retried([&] { return systemCalls().findFirstFile(path.c_str(), listing, found); });
        if (error)
            return error == std::errc::no_such_file_or_directory ? std::error_code() : error;
        systemCalls().findClose(listing);
        link = (found.attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
               found.reparseTag == IO_REPARSE_TAG_SYMLINK;
        return {};
    } catch (...) {
        return std::make_error_code(std::errc::not_enough_memory);
    }
}

std::error_code readLink(const std::filesystem::path& path, std::filesystem::path& target) {
    return retried([&] { return systemCalls().readLink(path, target); });
}

// Windows says whether a file may be written when it is opened for writing, not before.
std::error_code mayWrite(const std::filesystem::path&) noexcept {
    return {};
}

void removeQuietly(const std::filesystem::path& path) noexcept {
    retried([&] { return systemCalls().deleteFile(path.c_str()); });
}

unsigned long processId() noexcept {
    return GetCurrentProcessId();
}

} // namespace kickmark::files
