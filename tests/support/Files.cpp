#include "Files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string textLines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + lineEnd;
    return text;
}

std::filesystem::path testFolder(std::string_view name) {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    auto folder = std::filesystem::temp_directory_path() / "kickmark-tests" /
                  (std::string(info->test_suite_name()) + "." + info->name()) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}
