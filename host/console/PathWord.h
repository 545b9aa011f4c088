#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// "WORD is not usable as a path", with any NUL byte in WORD shown as \0.
std::string unusablePath(std::string_view word);

// The file that a word of the command line or of a script names; nothing, with the reason
// from unusablePath in `error`, when no file can bear that name.
std::optional<std::filesystem::path> pathOfWord(std::string_view word, std::string& error);
