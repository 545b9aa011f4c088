#pragma once

#include "ShotsFile.h"

#include <gtest/gtest.h>

#include "Files.h"

#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

inline std::filesystem::path dataFile(const std::string& name) {
    return std::filesystem::path(KICKMARK_TEST_DATA) / name;
}

inline std::vector<double> shotsOf(const std::string& name) {
    return kickmark::parseShots(readBytes(dataFile(name)), name);
}

inline long processId() {
#ifdef _WIN32
    return _getpid();
#else
    return getpid();
#endif
}

// Names for scratch files of this test program alone: ctest runs several at once, and other
// checkouts on the machine run the same tests in the same temporary folder.
inline std::string scratchName(const std::string& what) {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    return "kickmark-" + what + "-" + test->test_suite_name() + "-" + test->name() + "-" +
           std::to_string(processId());
}

// A fresh folder per test, removed afterwards.
class ScratchFolder : public testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / scratchName("folder");
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
};
