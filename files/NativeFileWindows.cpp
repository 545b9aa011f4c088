#include "NativeFile.h"

#include <utility>

#ifndef NOMINMAX
#define NOMINMAX // min and max stay std::min and std::max
#endif
#include <windows.h>

namespace kickmark::files {

namespace {

// The system's codes, with the few that callers compare given their portable meaning.
std::error_code errorFrom(DWORD code) noexcept {
    switch (code) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return std::make_error_code(std::errc::file_exists);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return std::make_error_code(std::errc::no_such_file_or_directory);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return std::make_error_code(std::errc::permission_denied);
    case ERROR_FILENAME_EXCED_RANGE:
        return std::make_error_code(std::errc::filename_too_long);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return std::make_error_code(std::errc::no_space_on_device);
    default:
        return {static_cast<int>(code), std::system_category()};
    }
}

std::error_code lastError() noexcept {
    return errorFrom(GetLastError());
}

// 100-nanosecond ticks since 1601 against seconds since 1970.
constexpr std::int64_t ticksPerSecond = 10000000;
constexpr std::int64_t epochDifference = 11644473600;

FileTime timeFrom(FILETIME time) noexcept {
    const auto ticks =
        static_cast<std::int64_t>(std::uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime);
    std::int64_t seconds = ticks / ticksPerSecond;
    const std::int64_t rest = ticks % ticksPerSecond;
    return {seconds - epochDifference, static_cast<std::int32_t>(rest * 100)};
}

FILETIME windowsTime(FileTime time) noexcept {
    const auto ticks = static_cast<std::uint64_t>(
        (time.seconds + epochDifference) * ticksPerSecond + time.nanoseconds / 100);
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

std::error_code statusOf(HANDLE handle, FileStatus& status) noexcept {
    // A pipe or a device has no file information to give: it is simply not a regular file.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        status = {};
        return {};
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info))
        return lastError();
    auto join = [](DWORD high, DWORD low) { return std::uint64_t(high) << 32 | low; };
    status = {};
    status.id = {info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow)};
    status.size = join(info.nFileSizeHigh, info.nFileSizeLow);
    status.modified = timeFrom(info.ftLastWriteTime);
    status.regular = !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    status.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    return {};
}

// Others may read, write and rename the file meanwhile, as the plain C runtime lets them.
constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE open(const std::filesystem::path& path, DWORD access, DWORD disposition, DWORD flags,
            std::error_code& error) noexcept {
    HANDLE handle =
        CreateFileW(path.c_str(), access, shareAll, nullptr, disposition, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = lastError();
        return nullptr;
    }
    error.clear();
    return handle;
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
            OVERLAPPED at{};
            at.Offset = static_cast<DWORD>(offset);
            at.OffsetHigh = static_cast<DWORD>(offset >> 32);
            DWORD count = 0;
            if (!ReadFile(handle_, buffer, sizeof buffer, &count, &at)) {
                if (GetLastError() == ERROR_HANDLE_EOF)
                    return {};
                return lastError();
            }
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
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 30));
        DWORD count = 0;
        if (!WriteFile(handle_, bytes.data(), chunk, &count, &at))
            return lastError();
        bytes.remove_prefix(count);
        offset += count;
    }
    return {};
}

std::error_code NativeFile::resize(std::uint64_t size) noexcept {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    return SetFileInformationByHandle(handle_, FileEndOfFileInfo, &end, sizeof end)
               ? std::error_code()
               : lastError();
}

std::error_code NativeFile::setModified(FileTime time) noexcept {
    const FILETIME written = windowsTime(time);
    return SetFileTime(handle_, nullptr, nullptr, &written) ? std::error_code() : lastError();
}

void NativeFile::takeSettingsOf(const FileStatus&) noexcept {}

std::error_code NativeFile::sync() noexcept {
    return FlushFileBuffers(handle_) ? std::error_code() : lastError();
}

std::error_code NativeFile::close() noexcept {
    if (!handle_)
        return {};
    return CloseHandle(std::exchange(handle_, nullptr)) ? std::error_code() : lastError();
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
    CloseHandle(handle);
    return error;
}

std::error_code renameReplacing(const std::filesystem::path& from,
                                const std::filesystem::path& to) noexcept {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? std::error_code()
               : lastError();
}

std::error_code moveToNewName(const std::filesystem::path& from,
                              const std::filesystem::path& to) noexcept {
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken.
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH))
        return {};
    const std::error_code error = lastError();
    DeleteFileW(from.c_str());
    return error;
}

std::error_code folderEntries(const std::filesystem::path& folder,
                              std::vector<std::filesystem::path>& names) {
    WIN32_FIND_DATAW found{};
    HANDLE listing = FindFirstFileW((folder / L"*").c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE)
        return lastError();
    struct Closer {
        HANDLE listing;
        ~Closer() { FindClose(listing); }
    } closer{listing};
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..")
            names.emplace_back(name);
    } while (FindNextFileW(listing, &found));
    const DWORD code = GetLastError();
    return code == ERROR_NO_MORE_FILES ? std::error_code() : errorFrom(code);
}

bool isLink(const std::filesystem::path& path) noexcept {
    // Only a symbolic link: a synced folder's placeholders are reparse points of other kinds.
    WIN32_FIND_DATAW found{};
    HANDLE listing = FindFirstFileW(path.c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE)
        return false;
    FindClose(listing);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           found.dwReserved0 == IO_REPARSE_TAG_SYMLINK;
}

std::error_code readLink(const std::filesystem::path& path, std::filesystem::path& target) {
    std::error_code error;
    target = std::filesystem::read_symlink(path, error);
    return error;
}

bool mayWrite(const std::filesystem::path&) noexcept {
    return true;
}

void removeQuietly(const std::filesystem::path& path) noexcept {
    DeleteFileW(path.c_str());
}

unsigned long processId() noexcept {
    return GetCurrentProcessId();
}

} // namespace kickmark::files
