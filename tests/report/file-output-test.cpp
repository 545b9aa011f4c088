#include "FileOutput.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace kickmark;
namespace fs = std::filesystem;

namespace {

class ReplaceFile : public ScratchFolder {
protected:
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }
};

} // namespace

TEST_F(ReplaceFile, replaces_the_whole_file) {
    const fs::path chart = folder_ / "chart.svg";
    writeFile(chart, std::string(10000, 'x'));
    replaceFile(chart, "<svg/>\n");
    EXPECT_EQ(readFile(chart), "<svg/>\n");
    EXPECT_EQ(entries(), 1u);
}

#ifndef _WIN32
TEST_F(ReplaceFile, a_link_keeps_pointing_at_its_target_which_gets_the_chart) {
    const fs::path target = folder_ / "real.svg";
    const fs::path link = folder_ / "link.svg";
    writeFile(target, "old\n");
    fs::create_symlink("real.svg", link);
    replaceFile(link, "<svg/>\n");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(target), "<svg/>\n");
    EXPECT_EQ(entries(), 2u);
}

TEST_F(ReplaceFile, a_write_that_fails_midway_keeps_the_old_file_and_leaves_no_temporary) {
    const fs::path chart = folder_ / "chart.svg";
    const std::string oldChart = "<svg>the earlier chart</svg>\n";
    writeFile(chart, oldChart);
    const pid_t child = fork();
    if (child == 0) {
        // A full disk in miniature: every file of this process stops at 4 KiB.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            replaceFile(chart, std::string(100000, 'y'));
        } catch (const CannotWrite&) {
            _exit(3);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(readFile(chart), oldChart);
    EXPECT_EQ(entries(), 1u);
}
#endif
