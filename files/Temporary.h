#pragma once

#include "NativeFile.h"

#include <filesystem>
#include <system_error>

namespace kickmark::files {

// A new file beside a target, for content that takes the target's name only when complete.
// Removed with the object unless released.
class Temporary {
public:
    // Named "NAME.PID-STAMP.tmp" after the target, so that two programs writing one file
    // each have their own; where that name does not fit the system's limits, "~km", eight
    // hexadecimal digits made from the target's name and four more.
    static Temporary createBeside(const std::filesystem::path& target,
                                  std::error_code& error) noexcept;

    Temporary() noexcept = default;
    Temporary(Temporary&&) noexcept = default;
    Temporary& operator=(Temporary&&) = delete;
    ~Temporary();

    explicit operator bool() const noexcept { return static_cast<bool>(file_); }
    NativeFile& file() noexcept { return file_; }
    const std::filesystem::path& path() const noexcept { return path_; }
    // The file is under its final name now, or gone: nothing left to remove.
    void release() noexcept;

private:
    NativeFile file_;
    std::filesystem::path path_;
};

// Removes temporaries that writes of the target left behind when they were cut short: files
// named as createBeside names them, last written more than an hour ago. A write in progress
// keeps writing its own, so it is never one of them.
void removeAbandonedTemporaries(const std::filesystem::path& target) noexcept;

} // namespace kickmark::files
