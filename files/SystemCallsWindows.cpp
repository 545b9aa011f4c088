#include "SystemCalls.h"

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

std::error_code resultOf(BOOL done) noexcept {
    return done ? std::error_code() : lastError();
}

// Others may read, write and rename the file meanwhile, as the plain C runtime lets them.
constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

OVERLAPPED at(std::uint64_t offset) noexcept {
    OVERLAPPED overlapped{};
    overlapped.Offset = static_cast<DWORD>(offset);
    overlapped.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return overlapped;
}

std::uint64_t join(DWORD high, DWORD low) noexcept {
    return std::uint64_t(high) << 32 | low;
}

void take(const WIN32_FIND_DATAW& data, FoundEntry& found) {
    found.name = data.cFileName;
    found.attributes = data.dwFileAttributes;
    found.reparseTag = data.dwReserved0;
}

const SystemCalls native = {
    .createFile =
        [](const wchar_t* path, unsigned long access, unsigned long disposition,
           unsigned long flags, SystemCalls::Handle& handle) noexcept {
            HANDLE opened =
                CreateFileW(path, access, shareAll, nullptr, disposition, flags, nullptr);
            if (opened == INVALID_HANDLE_VALUE)
                return lastError();
            handle = opened;
            return std::error_code();
        },
    .closeHandle =
        [](SystemCalls::Handle handle) noexcept { return resultOf(CloseHandle(handle)); },
    .readFile =
        [](SystemCalls::Handle handle, void* buffer, unsigned long size, std::uint64_t offset,
           unsigned long& count) noexcept {
            OVERLAPPED where = at(offset);
            DWORD read = 0;
            if (!ReadFile(handle, buffer, size, &read, &where)) {
                if (GetLastError() != ERROR_HANDLE_EOF)
                    return lastError();
                read = 0;
            }
            count = read;
            return std::error_code();
        },
    .writeFile =
        [](SystemCalls::Handle handle, const void* buffer, unsigned long size, std::uint64_t offset,
           unsigned long& count) noexcept {
            OVERLAPPED where = at(offset);
            DWORD written = 0;
            if (!WriteFile(handle, buffer, size, &written, &where))
                return lastError();
            count = written;
            return std::error_code();
        },
    .setEndOfFile =
        [](SystemCalls::Handle handle, std::uint64_t size) noexcept {
            FILE_END_OF_FILE_INFO end{};
            end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
            return resultOf(
                SetFileInformationByHandle(handle, FileEndOfFileInfo, &end, sizeof end));
        },
    .setFileTime =
        [](SystemCalls::Handle handle, std::uint64_t lastWrite) noexcept {
            const FILETIME written{static_cast<DWORD>(lastWrite),
                                   static_cast<DWORD>(lastWrite >> 32)};
            return resultOf(SetFileTime(handle, nullptr, nullptr, &written));
        },
    .flushFileBuffers =
        [](SystemCalls::Handle handle) noexcept { return resultOf(FlushFileBuffers(handle)); },
    .fileType =
        [](SystemCalls::Handle handle, unsigned long& type) noexcept {
            const DWORD found = GetFileType(handle);
            if (found == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR)
                return lastError();
            type = found;
            return std::error_code();
        },
    .fileInformation =
        [](SystemCalls::Handle handle, HandleInformation& information) noexcept {
            BY_HANDLE_FILE_INFORMATION info{};
            if (!GetFileInformationByHandle(handle, &info))
                return lastError();
            information = {
                info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
                join(info.nFileSizeHigh, info.nFileSizeLow),
                join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime),
                info.dwFileAttributes};
            return std::error_code();
        },
    .moveFile = [](const wchar_t* from, const wchar_t* to,
                   unsigned long flags) noexcept { return resultOf(MoveFileExW(from, to, flags)); },
    .deleteFile = [](const wchar_t* path) noexcept { return resultOf(DeleteFileW(path)); },
    .findFirstFile =
        [](const wchar_t* pattern, SystemCalls::Handle& listing, FoundEntry& found) noexcept {
            WIN32_FIND_DATAW data{};
            HANDLE opened = FindFirstFileW(pattern, &data);
            if (opened == INVALID_HANDLE_VALUE)
                return lastError();
            try {
                take(data, found);
            } catch (...) {
                FindClose(opened);
                return std::make_error_code(std::errc::not_enough_memory);
            }
            listing = opened;
            return std::error_code();
        },
    .findNextFile =
        [](SystemCalls::Handle listing, FoundEntry& found, bool& more) noexcept {
            WIN32_FIND_DATAW data{};
            more = FindNextFileW(listing, &data);
            if (!more)
                return GetLastError() == ERROR_NO_MORE_FILES ? std::error_code() : lastError();
            try {
                take(data, found);
            } catch (...) {
                return std::make_error_code(std::errc::not_enough_memory);
            }
            return std::error_code();
        },
    .findClose = [](SystemCalls::Handle listing) noexcept { return resultOf(FindClose(listing)); },
    .readLink =
        [](const std::filesystem::path& path, std::filesystem::path& target) noexcept {
            std::error_code error;
            try {
                target = std::filesystem::read_symlink(path, error);
            } catch (...) {
                return std::make_error_code(std::errc::not_enough_memory);
            }
            return error;
        },
};

SystemCalls current = native;

} // namespace

SystemCalls& systemCalls() noexcept {
    return current;
}

const SystemCalls& nativeSystemCalls() noexcept {
    return native;
}

} // namespace kickmark::files
