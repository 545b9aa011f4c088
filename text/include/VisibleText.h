#pragma once

#include <string>
#include <string_view>

namespace kickmark::text {

enum class Backslash {
    spelledOut,
    // Left as it is: Windows' path separator, which no name there can hold.
    separator,
};

// `text` with every character a terminal would not show spelled out: control bytes as \t, \r or
// \xHH, bytes that are not UTF-8 as \xHH, blank or zero-width characters such as a no-break
// space or a byte-order mark as \u{XXXX}, and the backslash itself as \\. A refused line then
// shows why "1500" was not a number, and a name with an escape sequence never reaches the
// terminal raw.
std::string visibleText(std::string_view text, Backslash backslash = Backslash::spelledOut);

} // namespace kickmark::text
