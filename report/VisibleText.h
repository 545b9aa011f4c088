#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kickmark {

// `text` with every character a terminal would not show spelled out: control bytes as \t, \r or
// \xHH, bytes that are not UTF-8 as \xHH, blank or zero-width characters such as a no-break
// space or a byte-order mark as \u{XXXX}, and the backslash itself as \\. A refused line then
// shows why "1500" was not a number.
std::string visibleText(std::string_view text);

// A path for a message, in UTF-8 and spelled out as visibleText does, except that Windows'
// separator stays a single backslash: no name can hold one there.
std::string visiblePath(const std::filesystem::path& path);

} // namespace kickmark
