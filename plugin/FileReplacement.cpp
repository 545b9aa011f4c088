#include "FileReplacement.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#if defined(_WIN32)
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace kickmark {

namespace fs = std::filesystem;

namespace {

// Linux allows 40 links in one lookup; a longer chain is a loop.
constexpr int maxLinkHops = 40;
constexpr int maxNameAttempts = 100;

// The file a chain of symbolic links ends at; the path itself when it is no link.
std::optional<fs::path> linkTarget(fs::path path) {
    for (int hop = 0; hop < maxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error)))
            return path;
        fs::path next = fs::read_symlink(path, error);
        if (error)
            return std::nullopt;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return std::nullopt;
}

bool flushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0)
        return false;
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// Writes, flushes to disk and closes; the stream is closed whatever fails.
bool writeAndClose(std::FILE* out, const std::string& bytes) {
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    written = flushToDisk(out) && written;
    return std::fclose(out) == 0 && written;
}

std::FILE* openInPlace(const fs::path& path, bool text) {
#if defined(_WIN32)
    return _wfopen(path.c_str(), text ? L"w" : L"wb");
#else
    return std::fopen(path.c_str(), text ? "w" : "wb");
#endif
}

std::optional<std::string> readBytes(const fs::path& path) {
#if defined(_WIN32)
    std::FILE* in = _wfopen(path.c_str(), L"rb");
#else
    std::FILE* in = std::fopen(path.c_str(), "r");
#endif
    if (!in)
        return std::nullopt;
    std::string bytes;
    char buffer[4096];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        bytes.append(buffer, count);
    const bool complete = !std::ferror(in);
    std::fclose(in);
    if (!complete)
        return std::nullopt;
    return bytes;
}

// A text-mode stream on a file that did not exist a moment ago: an exclusive create never
// opens what an earlier save or another program left under the name, links included.
std::FILE* createExclusively(const fs::path& path) {
#if defined(_WIN32)
    const int fd =
        _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEXT, _S_IREAD | _S_IWRITE);
    if (fd < 0)
        return nullptr;
    std::FILE* file = _wfdopen(fd, L"w");
    if (!file)
        _close(fd);
#else
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    std::FILE* file = fdopen(fd, "w");
    if (!file)
        ::close(fd);
#endif
    return file;
}

int processId() {
#if defined(_WIN32)
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

struct Temporary {
    fs::path path;
    std::FILE* file = nullptr;
};

// A new file beside the target, under a name that no other process or earlier save holds:
// "NAME.PID-STAMP.tmp". Two hosts saving into one folder each write their own.
std::optional<Temporary> createTemporary(const fs::path& target) {
    const auto stamp = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < maxNameAttempts; ++attempt) {
        Temporary temporary;
        temporary.path = target;
        temporary.path += "." + std::to_string(processId()) + "-" +
                          std::to_string(stamp + static_cast<unsigned long long>(attempt)) + ".tmp";
        temporary.file = createExclusively(temporary.path);
        if (temporary.file)
            return temporary;
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

// The design's own way, for when the file cannot be swapped: truncate and write. The old
// content is read first and written back if the new one does not go in whole.
bool writeInPlace(const fs::path& target, const std::string& text, bool existed) {
    std::optional<std::string> previous;
    if (existed && !(previous = readBytes(target)))
        return false;
    std::FILE* out = openInPlace(target, true);
    if (!out)
        return false;
    if (writeAndClose(out, text))
        return true;
    if (previous) {
        if (std::FILE* restore = openInPlace(target, false))
            writeAndClose(restore, *previous);
    } else {
        std::error_code ignored;
        fs::remove(target, ignored);
    }
    return false;
}

} // namespace

bool replaceFile(const fs::path& file, const std::string& text) noexcept {
    try {
        const auto target = linkTarget(file);
        if (!target)
            return false;
        std::error_code error;
        const auto status = fs::status(*target, error);
        const bool existed = fs::exists(status);
        // Only a regular file is ours to replace: never a folder, device or pipe.
        if (existed && !fs::is_regular_file(status))
            return false;
#if !defined(_WIN32)
        // A file the player made read-only stays as it is, as an in-place write would leave it.
        if (existed && ::access(target->c_str(), W_OK) != 0)
            return false;
#endif

        auto temporary = createTemporary(*target);
        if (!temporary)
            return writeInPlace(*target, text, existed);
#if !defined(_WIN32)
        if (existed)
            fchmod(fileno(temporary->file), static_cast<mode_t>(status.permissions()));
#endif
        if (!writeAndClose(temporary->file, text)) {
            fs::remove(temporary->path, error);
            return false;
        }
        fs::rename(temporary->path, *target, error);
        if (!error)
            return true;
        fs::remove(temporary->path, error);
        // Windows refuses to replace a file that a reader holds open without delete sharing,
        // while it still lets it be written.
        return writeInPlace(*target, text, existed);
    } catch (...) {
        return false;
    }
}

} // namespace kickmark
