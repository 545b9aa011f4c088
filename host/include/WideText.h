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

} // namespace pluginsdk
