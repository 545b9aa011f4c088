#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The file that a word of the command line or of a script names; nothing, with the reason
// ("WORD is not usable as a path") in `error`, when no file can bear that name.
std::optional<std::filesystem::path> pathOfWord(std::string_view word, std::string& error);
