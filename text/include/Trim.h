#pragma once

#include <string_view>

namespace kickmark::text {

// `text` without the characters of `blanks` at either end.
std::string_view trim(std::string_view text, std::string_view blanks = " \t");

// A spreadsheet's "CSV UTF-8" export, and some editors, start a file with this mark.
inline constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// `text` without a UTF-8 byte-order mark at its start.
std::string_view withoutByteOrderMark(std::string_view text);

} // namespace kickmark::text
