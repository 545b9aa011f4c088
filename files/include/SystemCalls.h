#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#if !defined(_WIN32)
#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>
#endif

namespace kickmark::files {

// Every call this library makes to the operating system that can fail, one entry each, so that
// a test can make any of them fail, or stop there as a killed process would, by replacing an
// entry. Each entry reports the system's error and nothing else: retrying an interrupted call is
// the caller's part, so that a replaced entry sees each attempt. Calls that cannot fail (the
// process id, the effective user, the clock) are made directly.
//
// The list is also a macro, so that code that wraps every entry covers one added later.
#if defined(_WIN32)

#define KICKMARK_FILES_SYSTEM_CALLS(X)                                                             \
    X(createFile)                                                                                  \
    X(closeHandle)                                                                                 \
    X(readFile)                                                                                    \
    X(writeFile)                                                                                   \
    X(setEndOfFile)                                                                                \
    X(setFileTime)                                                                                 \
    X(flushFileBuffers)                                                                            \
    X(fileType)                                                                                    \
    X(fileInformation)                                                                             \
    X(moveFile)                                                                                    \
    X(deleteFile)                                                                                  \
    X(findFirstFile)                                                                               \
    X(findNextFile)                                                                                \
    X(findClose)                                                                                   \
    X(readLink)

// What a folder listing gives of one entry.
struct FoundEntry {
    std::wstring name;
    unsigned long attributes = 0;
    unsigned long reparseTag = 0;
};

// What a handle's file information gives, in the system's own units.
struct HandleInformation {
    unsigned long volume = 0;
    std::uint64_t index = 0;
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0; // 100-nanosecond ticks since 1601
    unsigned long attributes = 0;
};

struct SystemCalls {
    using Handle = void*;
    // CreateFileW with every sharing mode; `handle` is set only on success.
    std::error_code (*createFile)(const wchar_t* path, unsigned long access,
                                  unsigned long disposition, unsigned long flags, Handle& handle);
    std::error_code (*closeHandle)(Handle handle);
    // ReadFile at an offset; `count` 0 at the end.
    std::error_code (*readFile)(Handle handle, void* buffer, unsigned long size,
                                std::uint64_t offset, unsigned long& count);
    std::error_code (*writeFile)(Handle handle, const void* buffer, unsigned long size,
                                 std::uint64_t offset, unsigned long& count);
    std::error_code (*setEndOfFile)(Handle handle, std::uint64_t size);
    std::error_code (*setFileTime)(Handle handle, std::uint64_t lastWrite);
    std::error_code (*flushFileBuffers)(Handle handle);
    std::error_code (*fileType)(Handle handle, unsigned long& type);
    std::error_code (*fileInformation)(Handle handle, HandleInformation& information);
    std::error_code (*moveFile)(const wchar_t* from, const wchar_t* to, unsigned long flags);
    std::error_code (*deleteFile)(const wchar_t* path);
    // FindFirstFileW; `listing` is set only on success.
    std::error_code (*findFirstFile)(const wchar_t* pattern, Handle& listing, FoundEntry& found);
    // FindNextFileW; `more` false at the end.
    std::error_code (*findNextFile)(Handle listing, FoundEntry& found, bool& more);
    std::error_code (*findClose)(Handle listing);
    std::error_code (*readLink)(const std::filesystem::path& path, std::filesystem::path& target);
};

#else

#define KICKMARK_FILES_SYSTEM_CALLS(X)                                                             \
    X(open)                                                                                        \
    X(close)                                                                                       \
    X(pread)                                                                                       \
    X(pwrite)                                                                                      \
    X(ftruncate)                                                                                   \
    X(futimens)                                                                                    \
    X(fchown)                                                                                      \
    X(fchmod)                                                                                      \
    X(fsync)                                                                                       \
    X(fstat)                                                                                       \
    X(stat)                                                                                        \
    X(lstat)                                                                                       \
    X(rename)                                                                                      \
    X(renameNoReplace)                                                                             \
    X(link)                                                                                        \
    X(unlink)                                                                                      \
    X(readlink)                                                                                    \
    X(access)                                                                                      \
    X(opendir)                                                                                     \
    X(readdir)                                                                                     \
    X(closedir)

struct SystemCalls {
    // `descriptor` is set only on success.
    std::error_code (*open)(const char* path, int flags, mode_t mode, int& descriptor);
    std::error_code (*close)(int descriptor);
    std::error_code (*pread)(int descriptor, void* buffer, std::size_t size, off_t offset,
                             std::size_t& count);
    std::error_code (*pwrite)(int descriptor, const void* buffer, std::size_t size, off_t offset,
                              std::size_t& count);
    std::error_code (*ftruncate)(int descriptor, off_t size);
    std::error_code (*futimens)(int descriptor, const timespec* times);
    std::error_code (*fchown)(int descriptor, uid_t owner, gid_t group);
    std::error_code (*fchmod)(int descriptor, mode_t mode);
    std::error_code (*fsync)(int descriptor);
    std::error_code (*fstat)(int descriptor, struct stat& info);
    std::error_code (*stat)(const char* path, struct stat& info);
    std::error_code (*lstat)(const char* path, struct stat& info);
    std::error_code (*rename)(const char* from, const char* to);
    // renameat2 with RENAME_NOREPLACE: EEXIST when `to` is taken; EINVAL or ENOSYS where the
    // file system or the kernel has no such move.
    std::error_code (*renameNoReplace)(const char* from, const char* to);
    std::error_code (*link)(const char* from, const char* to);
    std::error_code (*unlink)(const char* path);
    std::error_code (*readlink)(const char* path, char* buffer, std::size_t size,
                                std::size_t& length);
    // Whether this process may write the file, by its effective ids.
    std::error_code (*access)(const char* path);
    // `listing` is set only on success.
    std::error_code (*opendir)(const char* path, DIR*& listing);
    // `entry` is null at the end.
    std::error_code (*readdir)(DIR* listing, const dirent*& entry);
    std::error_code (*closedir)(DIR* listing);
};

#endif

// The table every call goes through. Starts as the system's own; a test may replace entries
// and must put them back (see nativeSystemCalls) before another test runs.
SystemCalls& systemCalls() noexcept;
// The system's own calls.
const SystemCalls& nativeSystemCalls() noexcept;

} // namespace kickmark::files
