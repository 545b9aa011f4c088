#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// A file's bytes exactly as stored, line ends included.
std::string readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const std::string& bytes);

// The platform's text-mode line end: what "\n" becomes in a file.
#if defined(_WIN32)
inline constexpr const char* lineEnd = "\r\n";
#else
inline constexpr const char* lineEnd = "\n";
#endif

// Joins lines, each ended the platform's way.
std::string textLines(std::initializer_list<std::string> lines);

// A folder under the system's temporary folder, unique to the running test.
std::filesystem::path testFolder(std::string_view name);
