#include "NativeFile.h"

#include <cerrno>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kickmark::files {

namespace {

std::error_code lastError() noexcept {
    return {errno, std::generic_category()};
}

FileStatus statusFrom(const struct stat& info) noexcept {
    FileStatus status;
    status.id = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    status.size = static_cast<std::uint64_t>(info.st_size);
    status.modified = {static_cast<std::int64_t>(info.st_mtim.tv_sec),
                       static_cast<std::int32_t>(info.st_mtim.tv_nsec)};
    status.regular = S_ISREG(info.st_mode);
    status.mode = info.st_mode & 07777;
    status.readOnly = (info.st_mode & 0222) == 0;
    status.owner = info.st_uid;
    status.group = info.st_gid;
    return status;
}

} // namespace

NativeFile::NativeFile(NativeFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)) {}

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept {
    if (this != &other) {
        close();
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

NativeFile::~NativeFile() {
    close();
}

NativeFile NativeFile::createNew(const std::filesystem::path& path,
                                 std::error_code& error) noexcept {
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    error = descriptor < 0 ? lastError() : std::error_code();
    return NativeFile(descriptor);
}

NativeFile NativeFile::openExisting(const std::filesystem::path& path,
                                    std::error_code& error) noexcept {
    const int descriptor = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    error = descriptor < 0 ? lastError() : std::error_code();
    return NativeFile(descriptor);
}

NativeFile NativeFile::openForReading(const std::filesystem::path& path,
                                      std::error_code& error) noexcept {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    error = descriptor < 0 ? lastError() : std::error_code();
    return NativeFile(descriptor);
}

NativeFile::operator bool() const noexcept {
    return descriptor_ >= 0;
}

std::error_code NativeFile::status(FileStatus& status) const noexcept {
    struct stat info {};
    if (::fstat(descriptor_, &info) != 0)
        return lastError();
    status = statusFrom(info);
    return {};
}

std::error_code NativeFile::readAll(std::string& bytes) const noexcept {
    try {
        bytes.clear();
        char buffer[65536];
        for (off_t offset = 0;;) {
            const ssize_t count = ::pread(descriptor_, buffer, sizeof buffer, offset);
            if (count < 0 && errno == EINTR)
                continue;
            if (count < 0)
                return lastError();
            if (count == 0)
                return {};
            bytes.append(buffer, static_cast<std::size_t>(count));
            offset += count;
        }
    } catch (...) {
        return std::make_error_code(std::errc::not_enough_memory);
    }
}

std::error_code NativeFile::writeAt(std::uint64_t offset, std::string_view bytes) noexcept {
    while (!bytes.empty()) {
        const ssize_t count =
            ::pwrite(descriptor_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return lastError();
        bytes.remove_prefix(static_cast<std::size_t>(count));
        offset += static_cast<std::uint64_t>(count);
    }
    return {};
}

std::error_code NativeFile::resize(std::uint64_t size) noexcept {
    return ::ftruncate(descriptor_, static_cast<off_t>(size)) == 0 ? std::error_code()
                                                                   : lastError();
}

std::error_code NativeFile::setModified(FileTime time) noexcept {
    const timespec times[2] = {{0, UTIME_OMIT},
                               {static_cast<time_t>(time.seconds), time.nanoseconds}};
    return ::futimens(descriptor_, times) == 0 ? std::error_code() : lastError();
}

void NativeFile::takeSettingsOf(const FileStatus& other) noexcept {
    // Only root may give a file away; anyone may give it a group they belong to. Whatever the
    // system refuses stays as a new file of this process's would be.
    const uid_t owner = ::geteuid() == 0 ? static_cast<uid_t>(other.owner) : static_cast<uid_t>(-1);
    [[maybe_unused]] const int ignored =
        ::fchown(descriptor_, owner, static_cast<gid_t>(other.group));
    // After the owner: a change of owner clears the set-id bits.
    ::fchmod(descriptor_, static_cast<mode_t>(other.mode));
}

std::error_code NativeFile::sync() noexcept {
    return ::fsync(descriptor_) == 0 ? std::error_code() : lastError();
}

std::error_code NativeFile::close() noexcept {
    if (descriptor_ < 0)
        return {};
    // No retry: on Linux the descriptor is gone even when close reports an error.
    const int result = ::close(std::exchange(descriptor_, -1));
    return result == 0 ? std::error_code() : lastError();
}

std::error_code fileStatus(const std::filesystem::path& path, FileStatus& status) noexcept {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return lastError();
    status = statusFrom(info);
    return {};
}

std::error_code renameReplacing(const std::filesystem::path& from,
                                const std::filesystem::path& to) noexcept {
    return ::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : lastError();
}

std::error_code moveToNewName(const std::filesystem::path& from,
                              const std::filesystem::path& to) noexcept {
    // A hard link never replaces a name that is taken.
    const std::error_code error =
        ::link(from.c_str(), to.c_str()) == 0 ? std::error_code() : lastError();
    ::unlink(from.c_str());
    return error;
}

std::error_code folderEntries(const std::filesystem::path& folder,
                              std::vector<std::filesystem::path>& names) {
    DIR* listing = ::opendir(folder.c_str());
    if (!listing)
        return lastError();
    struct Closer {
        DIR* listing;
        ~Closer() { ::closedir(listing); }
    } closer{listing};
    errno = 0;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
        errno = 0;
    }
    return errno != 0 ? lastError() : std::error_code();
}

bool isLink(const std::filesystem::path& path) noexcept {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

std::error_code readLink(const std::filesystem::path& path, std::filesystem::path& target) {
    std::string text(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), text.data(), text.size());
        if (length < 0)
            return lastError();
        if (static_cast<std::size_t>(length) < text.size()) {
            text.resize(static_cast<std::size_t>(length));
            target = std::move(text);
            return {};
        }
        text.resize(text.size() * 2);
    }
}

bool mayWrite(const std::filesystem::path& path) noexcept {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

void removeQuietly(const std::filesystem::path& path) noexcept {
    ::unlink(path.c_str());
}

unsigned long processId() noexcept {
    return static_cast<unsigned long>(::getpid());
}

} // namespace kickmark::files
