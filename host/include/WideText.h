#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "sdk_export.h"

namespace pluginsdk {

// A path as the wide text the host hands to plugins. On Linux the path's bytes are read as
// UTF-8 (libstdc++ will not convert non-ASCII itself); nothing when they are not UTF-8.
PLUGINSDK_API std::optional<std::wstring> wideText(const std::filesystem::path& path);

// A path from UTF-8 text, on every platform. Nothing when no file can bear that name: the
// text holds a NUL byte (the system would read the name only up to it), or, on Windows, where
// names are UTF-16, it is not UTF-8.
PLUGINSDK_API std::optional<std::filesystem::path> pathFromUtf8(std::string_view text);

// UTF-8 text of a path for messages, on every platform.
PLUGINSDK_API std::string displayPath(const std::filesystem::path& path);

} // namespace pluginsdk
