#pragma once

#include "FileStatus.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <system_error>

namespace kickmark::files {

// Replaces a file's whole content so that no reader ever sees half of it and no failure costs
// the previous content:
// - the bytes go to a new temporary beside the file (see Temporary.h), reach the disk, and
//   take the file's name with one rename;
// - a symbolic link stays a link and the file it leads to is replaced: up to 40 links are
//   followed, as the system follows them; more, or a loop, is
//   std::errc::too_many_symbolic_link_levels;
// - the new file keeps the old one's permission bits, group and owner; when the system
//   refuses any of them the save fails, so that no file becomes readable by more than before;
// - a file that is read-only (mode bits without a write bit, for root too; Windows' read-only
//   attribute), or that this process may not write, is kept: FileError::readOnly;
// - only a regular file is replaced: FileError::notRegularFile for a folder, pipe or device;
// - only where the swap is impossible (the folder takes no new file: access denied or a
//   read-only file system; on Windows, another program holds the file in a way that bars
//   replacing it) is the file written in place, and only when its time can be set back
//   (FileError::readOnly otherwise). The space beyond the old end is secured first; when
//   anything still fails the old bytes are put back and read back, then the old size and time
//   (FileError::notRestored, with the time left as the failed write made it, when the bytes
//   could not be put back). A process stopped during it leaves each byte the old or the new
//   one, at the old or the new size;
// - temporaries that earlier writes abandoned more than an hour ago are removed.
// After any failure the file is as it was and no temporary is left. Never throws.
std::error_code replaceFile(const std::filesystem::path& file, std::string_view bytes) noexcept;

// Writes a new file under `file`, complete or not at all, and never in place of anything:
// std::errc::file_exists, with nothing written, when the name is taken. The file is written
// and dated under a temporary name (see Temporary.h), then takes its name with a move that
// never replaces; a process stopped halfway leaves at most an abandoned temporary. The file gets
// the modification time given, if any, and `created` its status.
std::error_code createFile(const std::filesystem::path& file, std::string_view bytes,
                           std::optional<FileTime> modified = std::nullopt,
                           FileStatus* created = nullptr) noexcept;

// Removes the temporaries in `folder` that writes of files named as `isTarget` accepts left
// behind when they were cut short ("NAME.PID-STAMP.tmp", last written more than an hour ago),
// as replaceFile does for its own file. The short names made where a path is near the system's
// limits are left to each file's own sweep.
void removeAbandonedTemporaries(
    const std::filesystem::path& folder,
    const std::function<bool(const std::filesystem::path&)>& isTarget) noexcept;

} // namespace kickmark::files
