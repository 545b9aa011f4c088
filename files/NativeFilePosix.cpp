#include "NativeFile.h"

#include "SystemCalls.h"

#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace kickmark::files {

namespace {

// A call that a signal interrupted did nothing: it is made again.
template <typename Call> std::error_code retried(Call call) noexcept {
    for (;;) {
        const std::error_code error = call();
        if (error != std::errc::interrupted)
            return error;
    }
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

int openFile(const std::filesystem::path& path, int flags, std::error_code& error) noexcept {
    int descriptor = -1;
    error = retried(
        [&] { return systemCalls().open(path.c_str(), flags | O_CLOEXEC, 0666, descriptor); });
    return error ? -1 : descriptor;
}

// Errors that say this file system cannot do what was asked, rather than that it failed.
bool unsupported(const std::error_code& error) noexcept {
    return error == std::errc::invalid_argument || error == std::errc::function_not_supported ||
           error == std::errc::not_supported || error == std::errc::operation_not_supported ||
           error == std::errc::operation_not_permitted;
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
    return NativeFile(openFile(path, O_RDWR | O_CREAT | O_EXCL, error));
}

NativeFile NativeFile::openExisting(const std::filesystem::path& path,
                                    std::error_code& error) noexcept {
    return NativeFile(openFile(path, O_RDWR | O_NOFOLLOW, error));
}

NativeFile NativeFile::openForReading(const std::filesystem::path& path,
                                      std::error_code& error) noexcept {
    return NativeFile(openFile(path, O_RDONLY | O_NONBLOCK, error));
}

NativeFile::operator bool() const noexcept {
    return descriptor_ >= 0;
}

std::error_code NativeFile::status(FileStatus& status) const noexcept {
    struct stat info {};
    if (auto error = retried([&] { return systemCalls().fstat(descriptor_, info); }))
        return error;
    status = statusFrom(info);
    return {};
}

std::error_code NativeFile::readAll(std::string& bytes) const noexcept {
    try {
        bytes.clear();
        char buffer[65536];
        for (off_t offset = 0;;) {
            std::size_t count = 0;
            if (auto error = retried([&] {
                    return systemCalls().pread(descriptor_, buffer, sizeof buffer, offset, count);
                }))
                return error;
            if (count == 0)
                return {};
            bytes.append(buffer, count);
            offset += static_cast<off_t>(count);
        }
    } catch (...) {
        return std::make_error_code(std::errc::not_enough_memory);
    }
}

std::error_code NativeFile::writeAt(std::uint64_t offset, std::string_view bytes) noexcept {
    while (!bytes.empty()) {
        std::size_t count = 0;
        if (auto error = retried([&] {
                return systemCalls().pwrite(descriptor_, bytes.data(), bytes.size(),
                                            static_cast<off_t>(offset), count);
            }))
            return error;
        bytes.remove_prefix(count);
        offset += count;
    }
    return {};
}

std::error_code NativeFile::resize(std::uint64_t size) noexcept {
    return retried([&] { return systemCalls().ftruncate(descriptor_, static_cast<off_t>(size)); });
}

std::error_code NativeFile::setModified(FileTime time) noexcept {
    const timespec times[2] = {{0, UTIME_OMIT},
                               {static_cast<time_t>(time.seconds), time.nanoseconds}};
    return retried([&] { return systemCalls().futimens(descriptor_, times); });
}

std::error_code NativeFile::takeSettingsOf(const FileStatus& other) noexcept {
    FileStatus mine;
    if (auto error = status(mine))
        return error;
    if (mine.owner != other.owner || mine.group != other.group) {
        // Only root may give a file away; anyone may give it a group they belong to.
        const uid_t owner =
            mine.owner != other.owner ? static_cast<uid_t>(other.owner) : static_cast<uid_t>(-1);
        if (auto error = retried([&] {
                return systemCalls().fchown(descriptor_, owner, static_cast<gid_t>(other.group));
            }))
            return error;
    }
    // After the owner: a change of owner clears the set-id bits.
    return retried(
        [&] { return systemCalls().fchmod(descriptor_, static_cast<mode_t>(other.mode)); });
}

std::error_code NativeFile::sync() noexcept {
    return retried([&] { return systemCalls().fsync(descriptor_); });
}

std::error_code NativeFile::close() noexcept {
    if (descriptor_ < 0)
        return {};
    // Never repeated: the descriptor is gone even when close reports an error, and an
    // interrupted close has closed.
    const std::error_code error = systemCalls().close(std::exchange(descriptor_, -1));
    return error == std::errc::interrupted ? std::error_code() : error;
}

std::error_code fileStatus(const std::filesystem::path& path, FileStatus& status) noexcept {
    struct stat info {};
    if (auto error = retried([&] { return systemCalls().stat(path.c_str(), info); }))
        return error;
    status = statusFrom(info);
    return {};
}

std::error_code renameReplacing(const std::filesystem::path& from,
                                const std::filesystem::path& to) noexcept {
    return retried([&] { return systemCalls().rename(from.c_str(), to.c_str()); });
}

std::error_code moveToNewName(const std::filesystem::path& from,
                              const std::filesystem::path& to) noexcept {
    const std::error_code moved =
        retried([&] { return systemCalls().renameNoReplace(from.c_str(), to.c_str()); });
    if (!unsupported(moved) || moved == std::errc::operation_not_permitted)
        return moved;
    // No such move here: a hard link never replaces a name that is taken either.
    const std::error_code linked =
        retried([&] { return systemCalls().link(from.c_str(), to.c_str()); });
    if (!linked) {
        removeQuietly(from);
        return {};
    }
    if (!unsupported(linked))
        return linked;
    // A file system without either (FAT): the name is looked at, then taken. Only a program
    // that makes the very same name between the two could lose its file to this one.
    struct stat info {};
    const std::error_code looked = retried([&] { return systemCalls().lstat(to.c_str(), info); });
    if (!looked)
        return std::make_error_code(std::errc::file_exists);
    if (looked != std::errc::no_such_file_or_directory)
        return looked;
    return renameReplacing(from, to);
}

std::error_code folderEntries(const std::filesystem::path& folder,
                              std::vector<std::filesystem::path>& names) {
    DIR* listing = nullptr;
    if (auto error = retried([&] { return systemCalls().opendir(folder.c_str(), listing); }))
        return error;
    struct Closer {
        DIR* listing;
        ~Closer() { systemCalls().closedir(listing); }
    } closer{listing};
    for (;;) {
        const dirent* entry = nullptr;
        if (auto error = retried([&] { return systemCalls().readdir(listing, entry); }))
            return error;
        if (!entry)
            return {};
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
}

std::error_code isLink(const std::filesystem::path& path, bool& link) noexcept {
    struct stat info {};
    const std::error_code error = retried([&] { return systemCalls().lstat(path.c_str(), info); });
    link = !error && S_ISLNK(info.st_mode);
    return error == std::errc::no_such_file_or_directory ? std::error_code() : error;
}

std::error_code readLink(const std::filesystem::path& path, std::filesystem::path& target) {
    std::string text(256, '\0');
    for (;;) {
        std::size_t length = 0;
        if (auto error = retried([&] {
                return systemCalls().readlink(path.c_str(), text.data(), text.size(), length);
            }))
            return error;
        if (length < text.size()) {
            text.resize(length);
            target = std::move(text);
            return {};
        }
        text.resize(text.size() * 2);
    }
}

std::error_code mayWrite(const std::filesystem::path& path) noexcept {
    return retried([&] { return systemCalls().access(path.c_str()); });
}

void removeQuietly(const std::filesystem::path& path) noexcept {
    retried([&] { return systemCalls().unlink(path.c_str()); });
}

unsigned long processId() noexcept {
    return static_cast<unsigned long>(::getpid());
}

} // namespace kickmark::files
