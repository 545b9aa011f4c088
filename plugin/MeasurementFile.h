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

} // namespace kickmark
