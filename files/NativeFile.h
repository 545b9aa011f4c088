#pragma once

#include "FileStatus.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kickmark::files {

// A file the system has open for this library, closed with the object. Every call that
// reaches the operating system for a file's content goes through here, and from here through
// the table of SystemCalls.h; a call that a signal interrupted is made again.
class NativeFile {
public:
    NativeFile() noexcept = default;
    NativeFile(NativeFile&& other) noexcept;
    NativeFile& operator=(NativeFile&& other) noexcept;
    ~NativeFile();

    // A file that did not exist a moment ago: an exclusive create, which never opens what
    // another program left under the name, links included.
    static NativeFile createNew(const std::filesystem::path& path, std::error_code& error) noexcept;
    // An existing file to read and write, not truncated; not followed when it is a link.
    static NativeFile openExisting(const std::filesystem::path& path,
                                   std::error_code& error) noexcept;
    // A file to read; never waits on a pipe or device that has no writer.
    static NativeFile openForReading(const std::filesystem::path& path,
                                     std::error_code& error) noexcept;

    explicit operator bool() const noexcept;

    std::error_code status(FileStatus& status) const noexcept;
    // The whole content, from the first byte to the end.
    std::error_code readAll(std::string& bytes) const noexcept;
    std::error_code writeAt(std::uint64_t offset, std::string_view bytes) noexcept;
    std::error_code resize(std::uint64_t size) noexcept;
    std::error_code setModified(FileTime time) noexcept;
    // Permission bits, group and owner of another file, where the system has them; an error
    // when any of them cannot be given.
    std::error_code takeSettingsOf(const FileStatus& other) noexcept;
    std::error_code sync() noexcept;
    std::error_code close() noexcept;

private:
#if defined(_WIN32)
    explicit NativeFile(void* handle) noexcept : handle_(handle) {}
    void* handle_ = nullptr;
#else
    explicit NativeFile(int descriptor) noexcept : descriptor_(descriptor) {}
    int descriptor_ = -1;
#endif
};

// Gives `from` the name `to`, replacing what had it.
std::error_code renameReplacing(const std::filesystem::path& from,
                                const std::filesystem::path& to) noexcept;
// Gives the file `from` the name `to` only when nothing has it (std::errc::file_exists then),
// with a move that never replaces where the system has one. `from` stays when the move fails.
std::error_code moveToNewName(const std::filesystem::path& from,
                              const std::filesystem::path& to) noexcept;
// The names in a folder, "." and ".." left out. Throws std::bad_alloc, as the standard
// library's folder listing cannot do safely.
std::error_code folderEntries(const std::filesystem::path& folder,
                              std::vector<std::filesystem::path>& names);
// Whether the name itself is a symbolic link (not what it leads to); a missing name is not.
std::error_code isLink(const std::filesystem::path& path, bool& link) noexcept;
// What a symbolic link holds. Throws std::bad_alloc.
std::error_code readLink(const std::filesystem::path& path, std::filesystem::path& target);
// Whether this process may write the file, beyond what its status says: an error when not.
std::error_code mayWrite(const std::filesystem::path& path) noexcept;
void removeQuietly(const std::filesystem::path& path) noexcept;
unsigned long processId() noexcept;

} // namespace kickmark::files
