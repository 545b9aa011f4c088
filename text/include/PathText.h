#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Paths from and to UTF-8 text, the same on every platform: the programs take words and print
// messages in UTF-8, while Windows names files in UTF-16.
namespace kickmark::text {

// The file a word of UTF-8 text names (a word of the command line or of a script). Nothing when
// no file can bear that name: the word holds a NUL byte (the system would read the name only up
// to it), or, on Windows, where names are UTF-16, it is not UTF-8.
std::optional<std::filesystem::path> pathFromUtf8(std::string_view word);

// "WORD is not usable as a path", the word spelled out as visiblePath does.
std::string unusablePath(std::string_view word);

// A path's name exactly, in UTF-8 on every platform (on Linux its bytes as they are).
std::string utf8Path(const std::filesystem::path& path);

// A path for a message: utf8Path spelled out as visibleText does, except that Windows'
// separator stays a single backslash there (no name can hold one), so that a path the player
// typed comes back as typed.
std::string visiblePath(const std::filesystem::path& path);

} // namespace kickmark::text
