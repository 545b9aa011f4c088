#pragma once

#include "ShotsFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::filesystem::path dataFile(const std::string& name) {
    return std::filesystem::path(KICKMARK_TEST_DATA) / name;
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

inline std::vector<double> shotsOf(const std::string& name) {
    return kickmark::parseShots(readFile(dataFile(name)), name);
}

inline void writeFile(const std::filesystem::path& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
}

// A fresh folder per test, removed afterwards; ctest may run several tests at once.
class ScratchFolder : public testing::Test {
protected:
    void SetUp() override {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  (std::string("kickmark-") + test->test_suite_name() + "-" + test->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
};
