#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace {

// The program's output as a text-mode reader sees it: line ends are "\n" on every platform.
std::string read_text(const std::filesystem::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Outcome {
    int exit_code;
    std::string out;
    std::string err;
};

// Runs the built program through the shell, which both sh and cmd.exe accept in this form.
Outcome run_report(const std::string& arguments) {
    // Named per test, since ctest may run several of these at once.
    const std::string stem = std::string("kickmark-report-") +
                             testing::UnitTest::GetInstance()->current_test_info()->name();
    const auto out_path = std::filesystem::temp_directory_path() / (stem + ".out");
    const auto err_path = std::filesystem::temp_directory_path() / (stem + ".err");
    std::string command = std::string("\"") + KICKMARK_REPORT_EXE + "\" " + arguments + " > \"" +
                          out_path.string() + "\" 2> \"" + err_path.string() + "\"";
#ifdef _WIN32
    // cmd.exe strips the first and the last quote of a line that holds more than two.
    command = "\"" + command + "\"";
#endif
    const int status = std::system(command.c_str());
#ifdef _WIN32
    const int exit_code = status;
#else
    const int exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    Outcome outcome{exit_code, read_text(out_path), read_text(err_path)};
    std::filesystem::remove(out_path);
    std::filesystem::remove(err_path);
    return outcome;
}

std::string quoted(const std::filesystem::path& path) {
    std::string text = path.string();
#ifdef _WIN32
    // Windows reads a backslash right before the closing quote as escaping it.
    if (text.ends_with('\\'))
        text += '\\';
#endif
    return "\"" + text + "\"";
}

} // namespace

TEST(KickmarkReport, LineThatIsNotASpeedFailsWithLocationAndWritesNothing) {
    const auto path = data_file("typo.csv");
    const auto chart = std::filesystem::temp_directory_path() / "kickmark-report-typo.svg";
    std::filesystem::remove(chart);
    const Outcome outcome = run_report("--svg " + quoted(chart) + " " + quoted(path));
    EXPECT_EQ(outcome.exit_code, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, path.string() + ":3: not a speed: 12O4.500000\n");
    EXPECT_FALSE(std::filesystem::exists(chart));
}

TEST(KickmarkReport, EmptyFileSaysNoShotsAndSucceeds) {
    const Outcome outcome = run_report(quoted(data_file("empty.csv")));
    EXPECT_EQ(outcome.exit_code, 0);
    EXPECT_EQ(outcome.out, "no shots\n");
}

TEST(KickmarkReport, MissingOrUnreadableFileIsNamedWithExitTwo) {
    for (const auto& path : {data_file("no-such-file.csv"), data_file("session.csv") / "x.csv"}) {
        const Outcome outcome = run_report(quoted(path));
        EXPECT_EQ(outcome.exit_code, 2) << path;
        EXPECT_TRUE(outcome.err.starts_with("cannot open " + path.string() + ": ")) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
}

TEST(KickmarkReport, BadUsageGivesUsageOnStderrWithExitTwo) {
    for (const std::string arguments : {"", "--frobnicate a.csv", "a.csv --svg", "a.csv --keep",
                                        "--last 0 a.csv", "--last -3 a.csv", "--last 5x a.csv"}) {
        const Outcome outcome = run_report(arguments);
        EXPECT_EQ(outcome.exit_code, 2) << arguments;
        EXPECT_NE(outcome.err.find("usage: kickmark-report"), std::string::npos) << arguments;
        EXPECT_EQ(outcome.out, "") << arguments;
    }
}

TEST(KickmarkReport, HelpGoesToStdoutWithExitZero) {
    const Outcome outcome = run_report("--help");
    EXPECT_EQ(outcome.exit_code, 0);
    EXPECT_TRUE(outcome.out.starts_with("usage: kickmark-report")) << outcome.out;
    EXPECT_EQ(outcome.err, "");
}

TEST(KickmarkReport, WritesReportAndChartForGoodFile) {
    const auto chart = std::filesystem::temp_directory_path() / "kickmark-report-good.svg";
    const Outcome outcome =
        run_report(quoted(data_file("session.csv")) + " --svg " + quoted(chart) + " --last 4");
    EXPECT_EQ(outcome.exit_code, 0) << outcome.err;
    EXPECT_EQ(outcome.out, read_file(data_file("session.txt")));
    EXPECT_TRUE(read_file(chart).ends_with("</svg>\n"));
    std::filesystem::remove(chart);
}
