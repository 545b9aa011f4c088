#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kickmark {

// "shots.csv" in the host's data folder. Nothing when the folder text is empty or cannot be
// a path on this platform. A folder without a trailing separator gets one.
std::optional<std::filesystem::path> measurementFilePath(const std::wstring& dataFolder);

// The file's whole content: one line per speed, oldest first.
std::string measurementFileText(const std::vector<float>& speeds);

// Replaces the file with the given text in one step: the text goes to a temporary file beside
// it first, so a failure at any point leaves the previous file as it was. Returns whether the
// file now holds the text; never throws.
bool replaceFile(const std::filesystem::path& file, const std::string& text) noexcept;

} // namespace kickmark
