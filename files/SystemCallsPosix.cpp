#include "SystemCalls.h"

#include <cerrno>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace kickmark::files {

namespace {

std::error_code lastError() noexcept {
    return {errno, std::generic_category()};
}

std::error_code resultOf(int result) noexcept {
    return result == 0 ? std::error_code() : lastError();
}

std::error_code countOf(ssize_t result, std::size_t& count) noexcept {
    if (result < 0)
        return lastError();
    count = static_cast<std::size_t>(result);
    return {};
}

const SystemCalls native = {
    .open =
        [](const char* path, int flags, mode_t mode, int& descriptor) noexcept {
            const int opened = ::open(path, flags, mode);
            if (opened < 0)
                return lastError();
            descriptor = opened;
            return std::error_code();
        },
    .close = [](int descriptor) noexcept { return resultOf(::close(descriptor)); },
    .pread =
        [](int descriptor, void* buffer, std::size_t size, off_t offset,
           std::size_t& count) noexcept {
            return countOf(::pread(descriptor, buffer, size, offset), count);
        },
    .pwrite =
        [](int descriptor, const void* buffer, std::size_t size, off_t offset,
           std::size_t& count) noexcept {
            return countOf(::pwrite(descriptor, buffer, size, offset), count);
        },
    .ftruncate = [](int descriptor,
                    off_t size) noexcept { return resultOf(::ftruncate(descriptor, size)); },
    .futimens =
        [](int descriptor, const timespec* times) noexcept {
            return resultOf(::futimens(descriptor, times));
        },
    .fchown = [](int descriptor, uid_t owner,
                 gid_t group) noexcept { return resultOf(::fchown(descriptor, owner, group)); },
    .fchmod = [](int descriptor,
                 mode_t mode) noexcept { return resultOf(::fchmod(descriptor, mode)); },
    .fsync = [](int descriptor) noexcept { return resultOf(::fsync(descriptor)); },
    .fstat = [](int descriptor,
                struct stat& info) noexcept { return resultOf(::fstat(descriptor, &info)); },
    .stat = [](const char* path,
               struct stat& info) noexcept { return resultOf(::stat(path, &info)); },
    .lstat = [](const char* path,
                struct stat& info) noexcept { return resultOf(::lstat(path, &info)); },
    .rename = [](const char* from,
                 const char* to) noexcept { return resultOf(::rename(from, to)); },
    .renameNoReplace =
        [](const char* from, const char* to) noexcept {
            return resultOf(::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE));
        },
    .link = [](const char* from, const char* to) noexcept { return resultOf(::link(from, to)); },
    .unlink = [](const char* path) noexcept { return resultOf(::unlink(path)); },
    .readlink =
        [](const char* path, char* buffer, std::size_t size, std::size_t& length) noexcept {
            return countOf(::readlink(path, buffer, size), length);
        },
    .access =
        [](const char* path) noexcept {
            return resultOf(::faccessat(AT_FDCWD, path, W_OK, AT_EACCESS));
        },
    .opendir =
        [](const char* path, DIR*& listing) noexcept {
            DIR* opened = ::opendir(path);
            if (!opened)
                return lastError();
            listing = opened;
            return std::error_code();
        },
    .readdir =
        [](DIR* listing, const dirent*& entry) noexcept {
            errno = 0;
            entry = ::readdir(listing);
            return entry || errno == 0 ? std::error_code() : lastError();
        },
    .closedir = [](DIR* listing) noexcept { return resultOf(::closedir(listing)); },
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
