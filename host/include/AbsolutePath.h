#pragma once

#include <filesystem>
#include <system_error>

#include "sdk_export.h"

namespace pluginsdk {

// The absolute path that the system itself opens for `path`, with "." and ".." gone.
// Windows resolves ".." in the text, as GetFullPathNameW does, which leaves "\\?\C:\x" and
// "\\server\share" as they are (MinGW's std::filesystem::absolute does not). Linux resolves
// it on disk: "link/.." is the parent of the link's target, so a folder that exists is
// looked through; a folder still to be created is no link, and its ".." is taken as text.
// Empty, with the reason in `ec`, when the system would refuse the path (a ".." after a
// file).
PLUGINSDK_API std::filesystem::path absolutePath(const std::filesystem::path& path,
                                                 std::error_code& ec);

} // namespace pluginsdk
