#include "TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace {

// The program's output as a text-mode reader sees it: line ends are "\n" on every platform.
std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Outcome {
    int exitCode;
    std::string out;
    std::string err;
};

// Runs the built program through the shell, which both sh and cmd.exe accept in this form;
// `shellFirst` runs in the same shell before it.
Outcome runReport(const std::string& arguments, const std::string& standardOutput = "",
                  const std::string& shellFirst = "") {
    // Named per test, since ctest may run several of these at once.
    const std::string stem = std::string("kickmark-report-") +
                             testing::UnitTest::GetInstance()->current_test_info()->name();
    const auto outPath = std::filesystem::temp_directory_path() / (stem + ".out");
    const auto errPath = std::filesystem::temp_directory_path() / (stem + ".err");
    const std::string outTarget =
        standardOutput.empty() ? "\"" + outPath.string() + "\"" : standardOutput;
    std::string command = shellFirst + "\"" + KICKMARK_REPORT_EXE + "\" " + arguments + " > " +
                          outTarget + " 2> \"" + errPath.string() + "\"";
#ifdef _WIN32
    // cmd.exe strips the first and the last quote of a line that holds more than two.
    command = "\"" + command + "\"";
#endif
    const int status = std::system(command.c_str());
#ifdef _WIN32
    const int exitCode = status;
#else
    const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    Outcome outcome{exitCode, readText(outPath), readText(errPath)};
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
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

TEST(KickmarkReport, line_that_is_not_a_speed_fails_with_location_and_writes_nothing) {
    const auto path = dataFile("typo.csv");
    const auto chart = std::filesystem::temp_directory_path() / "kickmark-report-typo.svg";
    std::filesystem::remove(chart);
    const Outcome outcome = runReport("--svg " + quoted(chart) + " " + quoted(path));
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, path.string() + ":3: not a speed: 12O4.500000\n");
    EXPECT_FALSE(std::filesystem::exists(chart));
}

TEST(KickmarkReport, empty_file_says_no_shots_and_succeeds) {
    const Outcome outcome = runReport(quoted(dataFile("empty.csv")));
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "no shots\n");
}

TEST(KickmarkReport, missing_or_unreadable_file_is_named_with_exit_two) {
    for (const auto& path : {dataFile("no-such-file.csv"), dataFile("session.csv") / "x.csv"}) {
        const Outcome outcome = runReport(quoted(path));
        EXPECT_EQ(outcome.exitCode, 2) << path;
        EXPECT_TRUE(outcome.err.starts_with("cannot open " + path.string() + ": ")) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
}

TEST(KickmarkReport, bad_usage_gives_usage_on_stderr_with_exit_two) {
    for (const std::string arguments : {"", "--frobnicate a.csv", "a.csv --svg", "a.csv --keep",
                                        "--last 0 a.csv", "--last -3 a.csv", "--last 5x a.csv"}) {
        const Outcome outcome = runReport(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << arguments;
        EXPECT_NE(outcome.err.find("usage: kickmark-report"), std::string::npos) << arguments;
        EXPECT_EQ(outcome.out, "") << arguments;
    }
}

TEST(KickmarkReport, help_and_version_go_to_stdout_with_exit_zero) {
    const struct {
        std::string arguments;
        std::string outStart;
    } cases[] = {
        {"--help", "usage: kickmark-report"},
        {"a.csv --help", "usage: kickmark-report"},
        {"--version", std::string("kickmark-report ") + KICKMARK_VERSION + "\n"},
    };
    for (const auto& [arguments, outStart] : cases) {
        const Outcome outcome = runReport(arguments);
        EXPECT_EQ(outcome.exitCode, 0) << arguments;
        EXPECT_TRUE(outcome.out.starts_with(outStart)) << outcome.out;
        EXPECT_EQ(outcome.err, "") << arguments;
    }
}

TEST(KickmarkReport, writes_report_and_chart_for_good_file) {
    const auto chart = std::filesystem::temp_directory_path() / "kickmark-report-good.svg";
    const Outcome outcome =
        runReport(quoted(dataFile("session.csv")) + " --svg " + quoted(chart) + " --last 4");
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, readFile(dataFile("session.txt")));
    EXPECT_TRUE(readFile(chart).ends_with("</svg>\n"));
    std::filesystem::remove(chart);
}

namespace {

class ReportFiles : public ScratchFolder {};

} // namespace

TEST_F(ReportFiles, refuses_a_chart_path_that_is_an_input_file_under_any_spelling) {
    const auto shots = folder_ / "s.csv";
    writeFile(shots, "1500.000000\n");
    std::vector<std::filesystem::path> spellings = {shots, folder_ / "." / "s.csv"};
#ifndef _WIN32
    std::filesystem::create_symlink(shots, folder_ / "link.svg");
    spellings.push_back(folder_ / "link.svg");
#endif
    for (const auto& chart : spellings) {
        const Outcome outcome = runReport("--svg " + quoted(chart) + " " + quoted(shots));
        EXPECT_EQ(outcome.exitCode, 2) << chart;
        EXPECT_EQ(outcome.err, "cannot write the chart to " + chart.string() +
                                   ": it is the shots file " + shots.string() + "\n");
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(readFile(shots), "1500.000000\n");
    }
}

TEST_F(ReportFiles, a_chart_that_cannot_be_written_fails_before_any_report) {
    const auto chart = folder_ / "missing" / "c.svg";
    const Outcome outcome =
        runReport("--svg " + quoted(chart) + " " + quoted(dataFile("session.csv")));
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_TRUE(outcome.err.starts_with("cannot write " + chart.string() + ": ")) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 0);
}

#ifndef _WIN32
TEST(KickmarkReport, a_report_lost_on_the_way_out_is_a_failure) {
    const Outcome outcome = runReport(quoted(dataFile("session.csv")), "/dev/full");
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.err, "cannot write standard output: No space left on device\n");
}
#endif

TEST_F(ReportFiles, keeps_each_session_once_and_reports_over_the_folder) {
    const auto kept = folder_ / "kept";
    const auto shots = folder_ / "shots.csv";
    writeFile(shots, "1000.000000\n2000.000000\n");
    const auto firstTime = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
    std::filesystem::last_write_time(shots, firstTime);
    Outcome outcome = runReport("--keep " + quoted(kept) + " " + quoted(shots));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_TRUE(outcome.out.starts_with("kept " + shots.string() + " as ")) << outcome.out;

    writeFile(shots, "3000.000000\n");
    outcome = runReport("--keep " + quoted(kept) + " " + quoted(shots));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    outcome = runReport("--keep " + quoted(kept) + " " + quoted(shots));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.out.find(" is kept already as "), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("newest session against the 2 shots of the 1 session before"),
              std::string::npos)
        << outcome.out;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(kept), {}), 2);
}

TEST_F(ReportFiles, a_bad_line_in_any_session_keeps_nothing) {
    const auto kept = folder_ / "kept";
    const Outcome outcome =
        runReport("--keep " + quoted(kept) + " " + quoted(dataFile("session.csv")) + " " +
                  quoted(dataFile("typo.csv")));
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_FALSE(std::filesystem::exists(kept));
}

namespace {

// Every file of a folder by name, with its bytes; empty when there is no folder.
std::map<std::string, std::string> contents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    if (std::filesystem::exists(folder)) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            files[entry.path().filename().string()] = readFile(entry.path());
        }
    }
    return files;
}

} // namespace

TEST_F(ReportFiles, the_chart_replaces_the_old_one_whole_or_not_at_all) {
    const auto chart = folder_ / "chart.svg";
    const std::string arguments = "--svg " + quoted(chart) + " " + quoted(dataFile("session.csv"));
    writeFile(chart, std::string(100000, 'x'));
    Outcome outcome = runReport(arguments);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_TRUE(readFile(chart).starts_with("<?xml"));
    EXPECT_EQ(contents(folder_).size(), 1u);
#ifndef _WIN32
    // A full disk in miniature: the new chart does not fit in 4 KiB, the old one stays.
    const std::string oldChart = "<svg>the earlier chart</svg>\n";
    writeFile(chart, oldChart);
    outcome = runReport(arguments, "/dev/null", "trap '' XFSZ; ulimit -f 8; ");
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.err, "cannot write " + chart.string() + ": File too large\n");
    EXPECT_EQ(readFile(chart), oldChart);
    EXPECT_EQ(contents(folder_).size(), 1u);

    // A link keeps pointing where it did, and its target gets the chart.
    std::filesystem::create_symlink("chart.svg", folder_ / "link.svg");
    outcome =
        runReport("--svg " + quoted(folder_ / "link.svg") + " " + quoted(dataFile("session.csv")));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_TRUE(std::filesystem::is_symlink(folder_ / "link.svg"));
    EXPECT_TRUE(readFile(chart).starts_with("<?xml"));
    EXPECT_EQ(contents(folder_).size(), 2u);
#endif
}
