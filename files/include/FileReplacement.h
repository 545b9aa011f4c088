#pragma once

#include "FileStatus.h"

#include <filesystem>
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
// - the new file keeps the old one's permission bits, and its group (and owner, for root)
//   where the system allows;
// - a file that is read-only (mode bits without a write bit, for root too; Windows' read-only
//   attribute), or that this process may not write, is kept: FileError::readOnly;
// - only a regular file is replaced: FileError::notRegularFile for a folder, pipe or device;
// - where the swap is impossible (the folder takes no new file, or another program holds the
//   file in a way that bars replacing it) the file is written in place: the space beyond the
//   old end is secured first, and when anything still fails the old bytes, size and
//   modification time are put back and checked (FileError::notRestored when they could not
//   be);
// - temporaries that earlier writes abandoned more than an hour ago are removed.
// After any failure the file is as it was and no temporary is left. Never throws.
std::error_code replaceFile(const std::filesystem::path& file, std::string_view bytes) noexcept;

// Writes a new file under `file`, complete or not at all, and never in place of anything:
// std::errc::file_exists, with nothing written, when the name is taken. The file gets the
// modification time given, if any.
std::error_code createFile(const std::filesystem::path& file, std::string_view bytes,
                           std::optional<FileTime> modified = std::nullopt) noexcept;

} // namespace kickmark::files
