#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

inline std::filesystem::path data_file(const std::string& name) {
    return std::filesystem::path(KICKMARK_TEST_DATA) / name;
}

inline std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

inline void write_file(const std::filesystem::path& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
}
