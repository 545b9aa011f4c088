// Output that cannot be written is a failure with the system's reason.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "OutputWrite.h"

#if defined(_WIN32)
#include <io.h>
#define dup _dup
#define dup2 _dup2
#define close _close
#else
#include <unistd.h>
#endif

namespace {

// Standard output on a file opened for reading only, for as long as it lives.
class ReadOnlyStandardOutput {
public:
    explicit ReadOnlyStandardOutput(const std::filesystem::path& file) {
        std::ofstream(file) << "";
        std::fflush(stdout);
        saved_ = dup(fileno(stdout));
        readOnly_ = std::fopen(file.string().c_str(), "r");
        dup2(fileno(readOnly_), fileno(stdout));
    }
    ~ReadOnlyStandardOutput() {
        std::clearerr(stdout);
        dup2(saved_, fileno(stdout));
        close(saved_);
        std::fclose(readOnly_);
    }

private:
    int saved_;
    std::FILE* readOnly_;
};

TEST(WriteStandardOutput, a_write_that_fails_gives_the_system_reason) {
    const auto file = std::filesystem::temp_directory_path() / "kickmark-read-only-output";
    std::error_code error;
    {
        ReadOnlyStandardOutput readOnly(file);
        error = kickmark::text::writeStandardOutput("lost\n");
    }
    std::filesystem::remove(file);
    EXPECT_EQ(error, std::errc::bad_file_descriptor) << error.message();
    EXPECT_FALSE(kickmark::text::writeStandardOutput(""));
}

} // namespace
