#include "Files.h"

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
