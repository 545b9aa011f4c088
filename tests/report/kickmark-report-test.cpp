#include "FileReplacement.h"
#include "PathText.h"
#include "TestFiles.h"
#include "TimeZone.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>
#include <map>
#include <string>
#include <thread>
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
    const std::string stem = scratchName("report");
    const auto outPath = std::filesystem::temp_directory_path() / (stem + ".out");
    const auto errPath = std::filesystem::temp_directory_path() / (stem + ".err");
    const std::string outTarget =
        standardOutput.empty() ? "\"" + outPath.string() + "\"" : standardOutput;
    std::string command = shellFirst + "\"" + KICKMARK_REPORT_EXE + "\" " + arguments + " > " +
                          outTarget + " 2> \"" + errPath.string() + "\"";
#ifdef _WIN32
    // cmd.exe strips the first and the last quote of a line that holds more than two. The
    // command goes wide, so that names outside the ANSI code page reach the program whole.
    command = "\"" + command + "\"";
    const int status = _wsystem(kickmark::text::pathFromUtf8(command)->c_str());
    const int exitCode = status;
#else
    const int status = std::system(command.c_str());
    const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    Outcome outcome{exitCode, readText(outPath), readText(errPath)};
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return outcome;
}

std::string quoted(const std::filesystem::path& path) {
    std::string text = kickmark::text::utf8Path(path);
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
    const auto chart = std::filesystem::temp_directory_path() / (scratchName("chart") + ".svg");
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
                                        "--watch a.csv", "--watch --keep d a.csv b.csv",
                                        "--svg c --html c a.csv", "a.csv --html",
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
    const auto chart = std::filesystem::temp_directory_path() / (scratchName("chart") + ".svg");
    const Outcome outcome =
        runReport(quoted(dataFile("session.csv")) + " --svg " + quoted(chart) + " --last 4");
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, readBytes(dataFile("session.txt")));
    EXPECT_TRUE(readBytes(chart).ends_with("</svg>\n"));
    std::filesystem::remove(chart);
}

namespace {

class ReportFiles : public ScratchFolder {};

} // namespace

TEST_F(ReportFiles, refuses_a_chart_path_that_is_an_input_file_under_any_spelling) {
    const auto shots = folder_ / "s.csv";
    writeBytes(shots, "1500.000000\n");
    std::filesystem::create_hard_link(shots, folder_ / "hard.svg");
    std::vector<std::filesystem::path> spellings = {shots, folder_ / "." / "s.csv",
                                                    folder_ / "hard.svg"};
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
        EXPECT_EQ(readBytes(shots), "1500.000000\n");
    }
}

TEST_F(ReportFiles, a_chart_that_cannot_be_written_fails_the_run) {
    const auto chart = folder_ / "missing" / "c.svg";
    const Outcome outcome =
        runReport("--svg " + quoted(chart) + " " + quoted(dataFile("session.csv")));
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_TRUE(outcome.err.starts_with("cannot write " + chart.string() + ": ")) << outcome.err;
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
    writeBytes(shots, "1000.000000\n2000.000000\n");
    const auto firstTime = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
    std::filesystem::last_write_time(shots, firstTime);
    Outcome outcome = runReport("--keep " + quoted(kept) + " " + quoted(shots));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_TRUE(outcome.out.starts_with("kept " + shots.string() + " as ")) << outcome.out;

    writeBytes(shots, "3000.000000\n");
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

namespace {

// 2026-12-08 18:00:00 UTC, and a save of one speed made then.
constexpr std::int64_t practiceTime = 1796752800;

void save(const std::filesystem::path& path, const std::string& bytes,
          std::int64_t seconds = practiceTime) {
    ASSERT_FALSE(kickmark::files::createFile(path, bytes, kickmark::files::FileTime{seconds, 0}))
        << path;
}

// Every file of a folder by name, with its bytes; empty when there is no folder.
std::map<std::string, std::string> contents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    if (std::filesystem::exists(folder)) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            files[entry.path().filename().string()] = readBytes(entry.path());
        }
    }
    return files;
}

} // namespace

TEST_F(ReportFiles, what_is_not_a_regular_file_is_refused_and_a_folder_skips_it) {
#ifdef _WIN32
    const std::vector<std::filesystem::path> notFiles = {"NUL"};
#else
    const std::filesystem::path pipe = folder_ / "pipe.csv";
    ASSERT_EQ(std::system(("mkfifo " + quoted(pipe)).c_str()), 0);
    // Reading a pipe nobody writes would wait forever.
    const std::vector<std::filesystem::path> notFiles = {pipe, "/dev/null", "/dev/zero"};
#endif
    for (const auto& path : notFiles) {
        const Outcome outcome = runReport(quoted(path));
        EXPECT_EQ(outcome.exitCode, 2) << path;
        EXPECT_EQ(outcome.err, "cannot open " + path.string() + ": not a regular file\n");
        EXPECT_EQ(outcome.out, "");
    }
    save(folder_ / "shots.csv", "1500.000000\n");
    const Outcome outcome = runReport(quoted(folder_));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_TRUE(outcome.out.starts_with("shots                        1\n")) << outcome.out;
}

TEST_F(ReportFiles, any_time_the_system_allows_is_read_and_one_in_the_future_is_named) {
    const auto kept = folder_ / "kept";
    save(folder_ / "old.csv", "1000.000000\n", -2145916800);   // 1902-01-01
    save(folder_ / "later.csv", "2000.000000\n", 10413792000); // 2300-01-01
    const Outcome outcome = runReport("--keep " + quoted(kept) + " " + quoted(folder_));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    const std::string copy = (kept / "2300-01-01-000000.csv").string();
    EXPECT_EQ(outcome.err, copy + " is dated 2300-01-01 00:00:00 UTC, in the future: it counts as "
                                  "newer than every session until then\n");
    EXPECT_NE(outcome.out.find("newest session: 2300-01-01-000000.csv, 2300-01-01 00:00 UTC"),
              std::string::npos)
        << outcome.out;
    EXPECT_NE(outcome.out.find("\n1902-01-01 00:00  1902-01-01-000000.csv"), std::string::npos)
        << outcome.out;
}

TEST_F(ReportFiles, the_input_itself_is_never_its_own_kept_copy) {
    const auto same = folder_ / "same";
    std::filesystem::create_directories(same);
    save(same / "shots.csv", "1500.000000\n");
    const std::string copy = (same / "2026-12-08-180000.csv").string();
    const std::string keep = "--keep " + quoted(same) + " ";
    Outcome outcome = runReport(keep + quoted(same / "shots.csv"));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    // One session: the copy stands for the file the next save replaces.
    EXPECT_TRUE(outcome.out.starts_with("kept " + (same / "shots.csv").string() + " as " + copy +
                                        "\n\nshots                        1\n"))
        << outcome.out;
    outcome = runReport(keep + quoted(same / "shots.csv"));
    EXPECT_TRUE(outcome.out.starts_with((same / "shots.csv").string() + " is kept already as " +
                                        copy + "\n\nshots"))
        << outcome.out;
    // A copy that keeping named is kept as itself, not copied again.
    outcome = runReport(keep + quoted(same));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(contents(same).size(), 2u);
}

TEST_F(ReportFiles, a_file_still_being_written_is_read_again_and_never_kept_torn) {
    const auto kept = folder_ / "kept";
    const auto shots = folder_ / "shots.csv";
    const std::string keep = "--keep " + quoted(kept) + " " + quoted(shots);
    // A save caught midway, finished a moment after the report has started.
    writeBytes(shots, "1500.000000\n12");
    auto report = std::async(std::launch::async, [&] { return runReport(keep); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::ofstream(shots, std::ios::binary | std::ios::app) << "34.567890\n";
    Outcome outcome = report.get();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    ASSERT_EQ(contents(kept).size(), 1u);
    EXPECT_EQ(contents(kept).begin()->second, "1500.000000\n1234.567890\n");

    // A save that never ends is refused, and nothing is kept.
    std::filesystem::remove_all(kept);
    writeBytes(shots, "1500.000000\n1");
    std::atomic<bool> reported = false;
    auto writer = std::async(std::launch::async, [&] {
        while (!reported) {
            std::ofstream(shots, std::ios::binary | std::ios::app) << "2";
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    outcome = runReport(keep);
    reported = true;
    writer.get();
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.err.find(shots.string()), std::string::npos) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(kept));
}

TEST_F(ReportFiles, a_chart_of_sessions_names_the_newest_and_the_time_of_same_day_ones_locally) {
    using namespace std::chrono;
    const TimeZone kiribati("XXX-14");
    for (const auto& [name, hour] : {std::pair{"a.csv", 18}, {"b.csv", 19}, {"c.csv", 20}}) {
        writeBytes(folder_ / name, "1500.000000\n");
        const sys_days day = year(2026) / December / 4;
        std::filesystem::last_write_time(
            folder_ / name, file_clock::from_sys(time_point_cast<seconds>(day + hours(hour))));
    }
    const auto chart = folder_ / "chart.svg";
    const Outcome outcome = runReport("--svg " + quoted(chart) + " " + quoted(folder_));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    const std::string svg = readBytes(chart);
    EXPECT_NE(svg.find(">Ball speed by shot, newest session: 2026-12-05 10:00 (UTC+14:00)<"),
              std::string::npos);
    for (const char* time : {">08:00<", ">09:00<", ">10:00<"}) {
        EXPECT_NE(svg.find(time), std::string::npos) << time;
    }
}

TEST_F(ReportFiles, sessions_keep_their_order_once_kept) {
    // Saved in the same second: the newest is the same session before and after keeping.
    save(folder_ / "x.csv", "1000.000000\n");
    save(folder_ / "y.csv", "3000.000000\n");
    const std::string newest = "fastest                3000.00 units/s";
    Outcome outcome = runReport(quoted(folder_ / "x.csv") + " " + quoted(folder_ / "y.csv"));
    EXPECT_NE(outcome.out.find("newest session: y.csv"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find(newest), std::string::npos) << outcome.out;
    outcome = runReport("--keep " + quoted(folder_ / "kept") + " " + quoted(folder_ / "x.csv") +
                        " " + quoted(folder_ / "y.csv"));
    EXPECT_NE(outcome.out.find("newest session: 2026-12-08-180000-2.csv"), std::string::npos)
        << outcome.out;
    EXPECT_NE(outcome.out.find(newest), std::string::npos) << outcome.out;
}

TEST_F(ReportFiles, a_run_that_fails_keeps_nothing) {
    const auto kept = folder_ / "kept";
    const auto shots = folder_ / "shots.csv";
    save(shots, "1500.000000\n");
    const std::string keep = "--keep " + quoted(kept) + " ";
    struct Case {
        std::string name;
        std::string arguments;
        std::map<std::string, std::string> keptBefore;
        int exitCode;
        std::string standardOutput = "";
        std::string shellFirst = "";
    };
    std::vector<Case> cases = {
        {"a bad line in a session",
         keep + quoted(shots) + " " + quoted(dataFile("typo.csv")),
         {},
         1},
        {"a chart that cannot be written",
         keep + "--svg " + quoted(folder_ / "missing" / "c.svg") + " " + quoted(shots),
         {{"2026-12-01-180000.csv", "1000.000000\n"}},
         2},
    };
#ifndef _WIN32
    const std::string big = std::string(600, '\n') + "2000.000000\n";
    save(folder_ / "big.csv", big, practiceTime + 60);
    cases.push_back({"a copy that cannot be written, after one that could",
                     keep + quoted(shots) + " " + quoted(folder_ / "big.csv"),
                     {},
                     2,
                     "/dev/null",
                     // dash counts in 512-byte blocks: shots.csv fits, big.csv does not.
                     "trap '' XFSZ; ulimit -f 1; "});
    // The chart is replaced last: the one from before stays.
    cases.push_back({"a report lost on the way out",
                     keep + "--svg " + quoted(folder_ / "chart.svg") + " " + quoted(shots),
                     {},
                     2,
                     "/dev/full"});
#endif
    writeBytes(folder_ / "chart.svg", "the chart from before\n");
    for (const auto& c : cases) {
        std::filesystem::remove_all(kept);
        if (!c.keptBefore.empty()) {
            std::filesystem::create_directories(kept);
            for (const auto& [name, bytes] : c.keptBefore) {
                writeBytes(kept / name, bytes);
            }
        }
        const Outcome outcome = runReport(c.arguments, c.standardOutput, c.shellFirst);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.name << ": " << outcome.err;
        EXPECT_EQ(contents(kept), c.keptBefore) << c.name;
    }
    EXPECT_EQ(readBytes(folder_ / "chart.svg"), "the chart from before\n");
}

TEST_F(ReportFiles, what_a_stopped_copy_left_is_no_session_and_its_temporary_goes) {
    const auto kept = folder_ / "kept";
    const auto shots = folder_ / "shots.csv";
    save(shots, "1500.000000\n");
    std::filesystem::create_directories(kept);
    // Left by a run stopped while copying: empty, or cut within a line, under a kept name.
    save(kept / "2026-12-09-180000.csv", "");
    save(kept / "2026-12-10-180000.csv", "1000.000000\n20");
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(2);
    const std::map<std::string, bool> temporaries = {
        {"2026-12-11-180000.csv.4242-123456789.tmp", true},
        {"2026-12-11-180000-2.csv.4242-123456790.tmp", true},
        {"notes.csv.4242-123456791.tmp", false}, // not a kept copy's
        {"~km0a1b2c", false},
    };
    for (const auto& [name, removed] : temporaries) {
        writeBytes(kept / name, "1000.0");
        std::filesystem::last_write_time(kept / name, old);
    }
    const Outcome outcome = runReport("--keep " + quoted(kept) + " " + quoted(shots));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    // One session only: the one just kept.
    EXPECT_EQ(outcome.out.find("session before"), std::string::npos) << outcome.out;
    EXPECT_TRUE(std::filesystem::exists(kept / "2026-12-09-180000.csv"));
    EXPECT_EQ(readBytes(kept / "2026-12-10-180000.csv"), "1000.000000\n20");
    for (const auto& [name, removed] : temporaries) {
        EXPECT_EQ(std::filesystem::exists(kept / name), !removed) << name;
    }
}

TEST_F(ReportFiles, the_chart_replaces_the_old_one_whole_or_not_at_all) {
    const auto chart = folder_ / "chart.svg";
    const std::string arguments = "--svg " + quoted(chart) + " " + quoted(dataFile("session.csv"));
    writeBytes(chart, std::string(100000, 'x'));
    Outcome outcome = runReport(arguments);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_TRUE(readBytes(chart).starts_with("<?xml"));
    EXPECT_EQ(contents(folder_).size(), 1u);
#ifndef _WIN32
    // A full disk in miniature: the new chart does not fit in 4 KiB, the old one stays.
    const std::string oldChart = "<svg>the earlier chart</svg>\n";
    writeBytes(chart, oldChart);
    outcome = runReport(arguments, "/dev/null", "trap '' XFSZ; ulimit -f 8; ");
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.err, "cannot write " + chart.string() + ": File too large\n");
    EXPECT_EQ(readBytes(chart), oldChart);
    EXPECT_EQ(contents(folder_).size(), 1u);

    // A link keeps pointing where it did, and its target gets the chart.
    std::filesystem::create_symlink("chart.svg", folder_ / "link.svg");
    outcome =
        runReport("--svg " + quoted(folder_ / "link.svg") + " " + quoted(dataFile("session.csv")));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_TRUE(std::filesystem::is_symlink(folder_ / "link.svg"));
    EXPECT_TRUE(readBytes(chart).starts_with("<?xml"));
    EXPECT_EQ(contents(folder_).size(), 2u);
#endif
}

// A name with an escape sequence, a carriage return or a line feed never reaches the terminal
// raw. Windows allows no such name.
#ifndef _WIN32
TEST_F(ReportFiles, file_names_are_spelled_out_in_every_message) {
    const auto kept = folder_ / "kept";
    const auto shots = folder_ / "shots\x1b[2J.csv";
    const auto bad = folder_ / "bad\r.csv";
    save(shots, "1500.000000\n", practiceTime - 7 * 86400);
    save(bad, "15OO\n");
    std::filesystem::create_directories(kept);
    save(kept / "notes\n.csv", "date,speed\n");
    save(kept / "future\x1b.csv", "1000.000000\n", 10413792000);
    const std::string keptShots = kept.string() + "/2026-12-01-180000.csv";
    const struct {
        std::string arguments;
        std::string err;
        std::string outStart;
    } cases[] = {
        {"--keep " + quoted(kept) + " " + quoted(shots),
         "left out, not a session: " + kept.string() + "/notes\\x0A.csv:1: not a speed: " +
             "date,speed\n" + kept.string() + "/future\\x1B.csv is dated 2300-01-01 00:00:00 " +
             "UTC, in the future: it counts as newer than every session until then\n",
         "kept " + folder_.string() + "/shots\\x1B[2J.csv as " + keptShots + "\n"},
        {"--keep " + quoted(kept) + " " + quoted(shots),
         "left out, not a session: " + kept.string() + "/notes\\x0A.csv:1: not a speed: " +
             "date,speed\n" + kept.string() + "/future\\x1B.csv is dated 2300-01-01 00:00:00 " +
             "UTC, in the future: it counts as newer than every session until then\n",
         folder_.string() + "/shots\\x1B[2J.csv is kept already as " + keptShots + "\n"},
        {quoted(bad), folder_.string() + "/bad\\r.csv:1: not a speed: 15OO\n", ""},
        {quoted(folder_ / "gone\x1b.csv"),
         "cannot open " + folder_.string() + "/gone\\x1B.csv: No such file or directory\n", ""},
    };
    for (const auto& [arguments, err, outStart] : cases) {
        const Outcome outcome = runReport(arguments);
        EXPECT_EQ(outcome.err, err) << arguments;
        EXPECT_TRUE(outcome.out.starts_with(outStart)) << outcome.out;
    }
}
#endif

TEST_F(ReportFiles, paths_in_any_script_are_opened_kept_into_charted_into_and_said_as_given) {
    const std::filesystem::path data =
        folder_ / u8"Zo\u00eb" / u8"\u0414\u0430\u043d\u043d\u044b\u0435" / u8"\u65e5\u672c";
    const auto shots = data / "shots.csv";
    const auto kept = folder_ / u8"\u0418\u0441\u0442\u043e\u0440\u0438\u044f-\U0001F3CE";
    const auto chart = folder_ / u8"\u30c1\u30e3\u30fc\u30c8.svg";
    std::filesystem::create_directories(data);
    save(shots, "1500.000000\n2500.000000\n", practiceTime - 86400);
    const Outcome outcome =
        runReport("--keep " + quoted(kept) + " --svg " + quoted(chart) + " " + quoted(shots));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    const auto copy = kept / "2026-12-07-180000.csv";
    EXPECT_TRUE(outcome.out.starts_with("kept " + kickmark::text::utf8Path(shots) + " as " +
                                        kickmark::text::utf8Path(copy) + "\n"))
        << outcome.out;
    EXPECT_EQ(readBytes(copy), "1500.000000\n2500.000000\n");
    EXPECT_TRUE(readBytes(chart).ends_with("</svg>\n"));
}

TEST_F(ReportFiles, every_session_option_lists_each_session_of_a_long_history) {
    for (int day = 0; day < 41; ++day) {
        save(folder_ / ("day-" + std::to_string(day) + ".csv"), "1500.000000\n",
             practiceTime - std::int64_t{86400} * (41 - day));
    }
    const Outcome summarised = runReport(quoted(folder_));
    EXPECT_EQ(summarised.exitCode, 0) << summarised.err;
    EXPECT_NE(summarised.out.find("41 sessions, those before the last 10 by month and year"),
              std::string::npos)
        << summarised.out;
    EXPECT_EQ(summarised.out.find("day-0.csv"), std::string::npos) << summarised.out;
    const Outcome every = runReport("--every-session " + quoted(folder_));
    EXPECT_EQ(every.exitCode, 0) << every.err;
    EXPECT_NE(every.out.find("2026-10-28 18:00  day-0.csv"), std::string::npos) << every.out;
}
