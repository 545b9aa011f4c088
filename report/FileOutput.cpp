#include "FileOutput.h"

#include <algorithm>
#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#ifndef NOMINMAX
#define NOMINMAX // min and max stay std::min and std::max
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kickmark {
namespace fs = std::filesystem;
namespace {

[[noreturn]] void fail(const fs::path& target, const std::error_code& error) {
    throw CannotWrite("cannot write " + target.string() + ": " + error.message());
}

std::error_code lastError() {
    return {errno, std::generic_category()};
}

// Removes the temporary it owns unless it was handed on under its final name.
class Temporary {
public:
    Temporary() = default;
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;
    ~Temporary() {
        if (!path_.empty()) {
            std::error_code ignored;
            fs::remove(path_, ignored);
        }
    }
    const fs::path& path() const { return path_; }
    void own(fs::path path) { path_ = std::move(path); }
    void release() { path_.clear(); }

private:
    fs::path path_;
};

int openExclusively(const fs::path& path) {
#if defined(_WIN32)
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
}

bool writeAll(int descriptor, std::string_view content) {
    while (!content.empty()) {
        // Chunks, since Windows takes an unsigned int count.
        const unsigned chunk =
            static_cast<unsigned>(std::min<std::size_t>(content.size(), 1 << 20));
#if defined(_WIN32)
        const int written = _write(descriptor, content.data(), chunk);
#else
        const auto written = ::write(descriptor, content.data(), chunk);
#endif
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool flushAndClose(int descriptor) {
#if defined(_WIN32)
    const bool flushed = _commit(descriptor) == 0;
    const int saved = errno;
    const bool closed = _close(descriptor) == 0;
#else
    const bool flushed = ::fsync(descriptor) == 0;
    const int saved = errno;
    const bool closed = ::close(descriptor) == 0;
#endif
    if (!flushed) {
        errno = saved;
    }
    return flushed && closed;
}

// A new file beside `target` under a name nobody else holds, with `content` on disk.
void writeTemporary(const fs::path& target, std::string_view content, Temporary& temporary) {
    std::random_device entropy;
    std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
    const fs::path folder = target.parent_path();
    for (int attempt = 0;; ++attempt) {
        std::string name = ".";
        name += target.filename().string();
        name += '.';
        name += std::to_string(digits(entropy));
        name += ".tmp";
        const fs::path path = folder / name;
        const int descriptor = openExclusively(path);
        if (descriptor < 0) {
            if (errno == EEXIST && attempt < 100) {
                continue;
            }
            fail(target, lastError());
        }
        temporary.own(path);
        if (!writeAll(descriptor, content)) {
            const auto error = lastError();
#if defined(_WIN32)
            _close(descriptor);
#else
            ::close(descriptor);
#endif
            fail(target, error);
        }
        if (!flushAndClose(descriptor)) {
            fail(target, lastError());
        }
        return;
    }
}

fs::path followLinks(fs::path path) {
    std::error_code error;
    // A bound, so a loop of links ends in an error from rename instead of here forever.
    for (int depth = 0; depth < 40 && fs::is_symlink(fs::symlink_status(path, error)); ++depth) {
        const fs::path link = fs::read_symlink(path, error);
        if (error) {
            break;
        }
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return path;
}

} // namespace

void replaceFile(const fs::path& target, std::string_view content) {
    const fs::path destination = followLinks(target);
    Temporary temporary;
    writeTemporary(destination, content, temporary);
    std::error_code error;
    const auto oldStatus = fs::status(destination, error);
    if (!error && fs::is_regular_file(oldStatus)) {
        // The chart keeps whoever may read it, not the umask's idea of it.
        fs::permissions(temporary.path(), oldStatus.permissions(), error);
    }
    fs::rename(temporary.path(), destination, error);
    if (error) {
        fail(target, error);
    }
    temporary.release();
}

bool createFile(const fs::path& target, std::string_view content) {
    Temporary temporary;
    writeTemporary(target, content, temporary);
#if defined(_WIN32)
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken.
    if (!MoveFileExW(temporary.path().c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) {
            return false;
        }
        fail(target, std::error_code(static_cast<int>(code), std::system_category()));
    }
    temporary.release();
#else
    // A hard link never replaces an existing name; the temporary then goes as usual.
    if (::link(temporary.path().c_str(), target.c_str()) != 0) {
        if (errno == EEXIST) {
            return false;
        }
        fail(target, lastError());
    }
#endif
    return true;
}

} // namespace kickmark
