// Whole console sessions through the real kickmark-host program and the real module: a script
// in, the exact standard output and "shots.csv" out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>

#include "Files.h"
#include "Host.h"

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

struct Session {
    int exitCode;
    std::string out;
    std::string err;
    std::string shots; // "shots.csv" with "\n" line ends, or "(none)" when it is no file
};

std::string withoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

std::string quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

class ConsoleSession : public testing::Test {
protected:
    fs::path scratch = testFolder("scratch");
    fs::path data = scratch / "data";
    fs::path sessions = KICKMARK_CONSOLE_SESSIONS;

    // Runs kickmark-host from the folder of the golden sessions, so that their relative paths
    // to replay files hold.
    // `prefix` comes before the program: variables, or a command that runs it; `stdoutTo`
    // (what follows the shell's ">": a file, or "&N" for a descriptor) takes standard output
    // instead of a scratch file.
    Session host(const std::string& arguments, const std::string& stdinFile = "",
                 const std::string& prefix = "", const std::string& stdoutTo = "") {
        const auto previous = fs::current_path();
        fs::current_path(sessions);
        std::string command = prefix + quoted(pluginsdk::executableDirectory() / "kickmark-host") +
                              " --data-dir " + quoted(data) + " " + arguments + " >" +
                              (stdoutTo.empty() ? quoted(scratch / "out") : stdoutTo) + " 2> " +
                              quoted(scratch / "err");
        if (!stdinFile.empty())
            command += " < " + quoted(fs::path(stdinFile));
#if defined(_WIN32)
        // cmd.exe strips the first and the last quote of a line that holds more than two.
        command = "\"" + command + "\"";
#endif
        const int status = std::system(command.c_str());
        fs::current_path(previous);
#if defined(_WIN32)
        const int exitCode = status;
#else
        const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
        const auto shots = data / "shots.csv";
        return {exitCode,
                stdoutTo.empty() ? withoutCarriageReturns(readBytes(scratch / "out")) : "",
                withoutCarriageReturns(readBytes(scratch / "err")),
                fs::is_regular_file(shots) ? withoutCarriageReturns(readBytes(shots)) : "(none)"};
    }

    std::string golden(const std::string& name) {
        return readBytes(sessions / name);
    }
};

TEST_F(ConsoleSession, measuring_on_and_off_minimum_clamping_reset_and_save) {
    const auto session = host("measuring.script");
    EXPECT_EQ(session.exitCode, 0) << session.err;
    EXPECT_EQ(session.out, golden("measuring.out"));
    EXPECT_EQ(session.shots, golden("measuring.csv"));
    // The file keeps the platform's line ends.
    EXPECT_EQ(readBytes(data / "shots.csv"), textLines({"4000.000000"}));
}

TEST_F(ConsoleSession, modes_missing_ball_unload_load_and_reload) {
    const auto session = host("lifecycle.script");
    EXPECT_EQ(session.exitCode, 1);
    EXPECT_EQ(session.out, golden("lifecycle.out"));
    EXPECT_EQ(session.shots, golden("lifecycle.csv"));
    EXPECT_THAT(
        session.err,
        HasSubstr("lifecycle.script:15: unknown name: kickmark_save (no plugin is loaded)"));
}

TEST_F(ConsoleSession, refused_lines_are_named_and_the_lines_after_them_still_run) {
    const auto session = host("replay.script");
    EXPECT_EQ(session.exitCode, 1);
    EXPECT_EQ(session.out, golden("replay.out"));
    EXPECT_EQ(session.shots, golden("replay.csv"));
    EXPECT_THAT(session.err, HasSubstr("replay.script:3: unknown name: kickmrak_save\n"));
    EXPECT_THAT(session.err, HasSubstr("replay.script:4: replay: replay-bad.csv:3: expected "
                                       "VX,VY,VZ or none: 1,2\n"));
    EXPECT_THAT(session.err, HasSubstr("replay.script:5: kickmark_minspeed: not a number: fast\n"));
}

TEST_F(ConsoleSession, lines_from_standard_input_run_the_same) {
    const auto session = host("", (sessions / "measuring.script").string());
    EXPECT_EQ(session.exitCode, 0) << session.err;
    EXPECT_EQ(session.out, golden("measuring.out"));
}

TEST_F(ConsoleSession, a_host_that_cannot_start_says_why) {
    const auto missing = host("--plugin " + quoted(scratch / "missing.so") + " measuring.script");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_THAT(missing.err, HasSubstr("cannot load plugin"));
    EXPECT_THAT(missing.err, HasSubstr("missing.so"));
    EXPECT_EQ(missing.out, "");

#if defined(_WIN32)
    const auto notPlugin =
        host("--plugin " + quoted(pluginsdk::executableDirectory() / "pluginsdk.dll"));
#else
    const auto notPlugin =
        host("--plugin " + quoted(pluginsdk::executableDirectory() / "libpluginsdk.so"));
#endif
    EXPECT_EQ(notPlugin.exitCode, 2);
    EXPECT_THAT(notPlugin.err, HasSubstr("is not a plugin"));

    const auto wrong =
        host("--plugin " + quoted(pluginsdk::moduleBesideExecutable("wrong-version")));
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_THAT(wrong.err, HasSubstr("interface version 94"));

    const auto script = host("no-such.script");
    EXPECT_EQ(script.exitCode, 2);
    EXPECT_THAT(script.err, HasSubstr("cannot read no-such.script: No such file or directory"));

    const auto option = host("--fast");
    EXPECT_EQ(option.exitCode, 2);
    EXPECT_THAT(option.err, HasSubstr("unknown option --fast"));
    EXPECT_THAT(option.err, HasSubstr("usage: kickmark-host"));
}

TEST_F(ConsoleSession, the_version_is_the_projects_and_asking_for_it_loads_and_makes_nothing) {
    const auto version = host("--version --demo");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "kickmark-host " KICKMARK_VERSION "\n");
    EXPECT_EQ(version.err, "");
    EXPECT_FALSE(fs::exists(data));
}

TEST_F(ConsoleSession, the_same_seed_plays_the_same_session) {
    const auto script = scratch / "simulate.script";
    writeBytes(script, "kickmark 1\nsimulate 40 7\nkickmark_save\n");
    const auto first = host(quoted(script));
    const auto second = host(quoted(script));
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_THAT(first.out, HasSubstr("[BAKKESMOD] 1 Shot speed: "));
    EXPECT_EQ(first.out, second.out);
    EXPECT_EQ(first.shots, second.shots);
    EXPECT_EQ(std::count(first.shots.begin(), first.shots.end(), '\n'),
              std::count(first.out.begin(), first.out.end(), '\n'));
    EXPECT_THAT(first.err, HasSubstr("strikes in 40 s (seed 7)"));

    writeBytes(script, "kickmark 1\nsimulate 40 8\n");
    EXPECT_NE(host(quoted(script)).out, first.out);
}

TEST_F(ConsoleSession, the_demo_announces_numbered_speeds_and_says_where_the_file_went) {
    const auto session = host("--demo");
    EXPECT_EQ(session.exitCode, 0) << session.err;
    EXPECT_THAT(session.out, testing::StartsWith("[BAKKESMOD] 1 Shot speed: "));
    EXPECT_THAT(session.out, HasSubstr("\n[BAKKESMOD] 2 Shot speed: "));
    EXPECT_THAT(session.out, HasSubstr("\n[BAKKESMOD] 3 Shot speed: "));
    const auto speeds = std::count(session.out.begin(), session.out.end(), '\n');
    EXPECT_EQ(std::count(session.shots.begin(), session.shots.end(), '\n'), speeds);
    EXPECT_THAT(session.err, testing::EndsWith("\nshots.csv: " + (data / "shots.csv").string() +
                                               " (" + std::to_string(speeds) + " speeds)\n"));
}

TEST_F(ConsoleSession, a_file_that_cannot_be_read_is_a_failure_with_its_reason) {
    const auto folder = scratch / "folder";
    fs::create_directories(folder);
    const auto asScript = host(quoted(folder));
    EXPECT_EQ(asScript.exitCode, 2);
    EXPECT_THAT(asScript.err,
                HasSubstr("kickmark-host: cannot read " + folder.string() + ": Is a directory\n"));
    EXPECT_EQ(asScript.out, "");

    // Events before a line that cannot be read happen; the line is no quiet end of the file.
    const auto longLine = scratch / "long.csv";
    writeBytes(longLine, "0,0,0\n3000,0,0\n" + std::string(70000, '1') + "\n4000,0,0\n");
    const auto script = scratch / "files.script";
    writeBytes(script, "kickmark 1\nexec " + quoted(folder) + "\nreplay " + quoted(folder) +
                           "\nexec " + quoted(scratch / "missing") + "\nreplay " +
                           quoted(longLine) + "\nkickmark\n");
    const auto lines = host(quoted(script));
    EXPECT_EQ(lines.exitCode, 1);
    EXPECT_EQ(lines.out, "[BAKKESMOD] 1 Shot speed: 3000.00\nkickmark = 1\n");
    const auto where = script.string() + ":";
    EXPECT_THAT(lines.err, HasSubstr(where + "2: exec: cannot read " + folder.string() +
                                     ": Is a directory\n"));
    EXPECT_THAT(lines.err, HasSubstr(where + "3: replay: cannot read " + folder.string() +
                                     ": Is a directory\n"));
    EXPECT_THAT(lines.err,
                HasSubstr(where + "4: exec: cannot read " + (scratch / "missing").string() +
                          ": No such file or directory\n"));
    EXPECT_THAT(lines.err, HasSubstr(where + "5: replay: cannot read " + longLine.string() +
                                     ": line 3 is longer than 65536 bytes\n"));

    // The limit leaves the line end out, LF and CRLF alike.
    const std::string longest = "kickmark_minspeed 2000" + std::string(65536 - 22, ' ');
    const auto limit = scratch / "limit.script";
    writeBytes(limit, longest + "\r\n" + longest + "\n" + longest + " \r\nkickmark_minspeed\n");
    writeBytes(script, "exec " + quoted(limit) + "\nkickmark_minspeed\n");
    const auto atLimit = host(quoted(script));
    EXPECT_EQ(atLimit.exitCode, 1);
    EXPECT_EQ(atLimit.out, "kickmark_minspeed = 2000\n");
    EXPECT_THAT(atLimit.err, HasSubstr(where + "1: exec: cannot read " + limit.string() +
                                       ": line 3 is longer than 65536 bytes\n"));

#if defined(__linux__)
    // Files that open but cannot be read: an endless one without line ends, and one whose
    // first read fails.
    writeBytes(script, "replay /dev/zero\nexec /proc/self/mem\nkickmark\n");
    const auto devices = host(quoted(script));
    EXPECT_EQ(devices.exitCode, 1);
    EXPECT_EQ(devices.out, "kickmark = 0\n");
    EXPECT_THAT(devices.err, HasSubstr(where + "1: replay: cannot read /dev/zero: line 1 is "
                                               "longer than 65536 bytes\n"));
    EXPECT_THAT(devices.err, HasSubstr(where + "2: exec: cannot read /proc/self/mem: "
                                               "Input/output error\n"));
    const auto unreadableScript = host("/proc/self/mem");
    EXPECT_EQ(unreadableScript.exitCode, 2);
    EXPECT_THAT(unreadableScript.err,
                HasSubstr("kickmark-host: cannot read /proc/self/mem: Input/output error\n"));
#endif
}

TEST_F(ConsoleSession, byte_order_marks_quoted_names_with_spaces_and_a_dash_for_standard_input) {
    const auto scripts = scratch / "my scripts";
    fs::create_directories(scripts);
    const char* bom = "\xEF\xBB\xBF";
    writeBytes(scripts / "warm up.script",
               bom + std::string("kickmark 1\r\nkickmark_minspeed 2000\r\n"));
    writeBytes(scripts / "strike one.csv", bom + std::string("vx,vy,vz\n0,0,0\n3000,0,0\n"));
    const auto input = scratch / "input";
    writeBytes(input, "exec " + quoted(scripts / "warm up.script") + "\nreplay " +
                          quoted(scripts / "strike one.csv") +
                          "\nkickmark_minspeed\n\v\nexec \"my scripts\n");
    const auto session = host("-", input.string());
    EXPECT_EQ(session.exitCode, 1) << session.err;
    EXPECT_EQ(session.out, "[BAKKESMOD] 1 Shot speed: 3000.00\nkickmark_minspeed = 2000\n");
    EXPECT_THAT(session.err, HasSubstr("stdin:5: unterminated quote\n"));
    EXPECT_THAT(session.err, testing::Not(HasSubstr("unknown name")));
}

TEST_F(ConsoleSession, a_save_that_did_not_replace_the_file_is_refused_and_never_claimed) {
    // A folder where the file should be: no save can replace it, whoever runs the test.
    fs::create_directories(data / "shots.csv");
    const auto script = scratch / "save.script";
    writeBytes(script, "kickmark 1\nball 0 0 0\nball 3000 0 0\nkickmark_save\nkickmark\n");
    const auto refused = host(quoted(script));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "[BAKKESMOD] 1 Shot speed: 3000.00\nkickmark = 1\n");
    const auto file = (data / "shots.csv").string();
    EXPECT_THAT(refused.err,
                HasSubstr(script.string() +
                          ":4: kickmark_save: shots.csv was not written: " + file + "\n"));

    const auto demo = host("--demo");
    EXPECT_EQ(demo.exitCode, 1);
    EXPECT_THAT(demo.err, testing::EndsWith("\nshots.csv was not written: " + file + "\n"));
    EXPECT_THAT(demo.err, testing::Not(HasSubstr("shots.csv: ")));

    // A save of the same bytes again still replaces the file, and says so.
    fs::remove(data / "shots.csv");
    writeBytes(script, "kickmark_save\nkickmark_save\n");
    const auto twice = host(quoted(script));
    EXPECT_EQ(twice.exitCode, 0) << twice.err;
    EXPECT_EQ(twice.shots, "");
}

#if defined(__linux__)
TEST_F(ConsoleSession, a_read_only_data_folder_keeps_the_old_file_and_the_demo_says_so) {
    const auto first = host("--demo");
    ASSERT_EQ(first.exitCode, 0) << first.err;
    const auto file = (data / "shots.csv").string();
    EXPECT_THAT(first.err, HasSubstr("\nshots.csv: " + file + " ("));

    // Permission bits do not stop the superuser; a read-only mount does.
    const std::string readOnly = "unshare -m sh -c 'mount --bind " + quoted(data) + " " +
                                 quoted(data) + " && mount -o remount,ro,bind " + quoted(data) +
                                 " && exec \"$0\" \"$@\"' ";
    if (std::system(("unshare -m sh -c 'mount --bind " + quoted(data) + " " + quoted(data) +
                     " && mount -o remount,ro,bind " + quoted(data) + "' 2>/dev/null")
                        .c_str()) != 0)
        GTEST_SKIP() << "no read-only mount can be made here";
    writeBytes(data / "shots.csv", "1234.500000\n");
    const auto demo = host(
        "--demo --plugin " + quoted(pluginsdk::moduleBesideExecutable("kickmark")), "", readOnly);
    EXPECT_EQ(demo.exitCode, 1);
    EXPECT_THAT(demo.err, testing::EndsWith("\nshots.csv was not written: " + file + "\n"));
    EXPECT_EQ(demo.shots, "1234.500000\n");
}

// On a file system whose clock is coarse (ramfs here; FAT and network shares too), a save
// written in place may move neither the file nor its time: its bytes tell that it happened.
TEST_F(ConsoleSession, a_save_written_in_place_within_one_clock_tick_counts) {
    const auto result = scratch / "result.csv";
    writeBytes(scratch / "twice.script",
               "kickmark 1\nball 0 0 0\nball 1500 0 0\nkickmark_save\n"
               "kickmark_reset\nball 0 0 0\nball 1600 0 0\nkickmark_save\n");
    // In a mount namespace of its own: a ramfs data folder that takes no new file, and a host
    // without the superuser's power over permission bits, so both saves are written in place.
    const std::string d = quoted(data);
    const std::string inPlace =
        "unshare -m sh -c 'mount -t ramfs ramfs " + d + " && : > " + d +
        "/shots.csv && chmod 666 " + d + "/shots.csv && chmod 555 " + d +
        " && setpriv --bounding-set=-all --inh-caps=-all \"$0\" \"$@\"; s=$?; cp " + d +
        "/shots.csv " + quoted(result) + "; exit $s' ";
    fs::create_directories(data);
    if (std::system(("unshare -m sh -c 'mount -t ramfs ramfs " + d + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "no ramfs can be mounted here";
    const auto session = host(quoted(scratch / "twice.script"), "", inPlace);
    EXPECT_EQ(session.exitCode, 0) << session.err;
    EXPECT_THAT(session.err, testing::Not(HasSubstr("not written")));
    EXPECT_EQ(readBytes(result), "1600.000000\n");
}

TEST_F(ConsoleSession, output_that_cannot_be_written_is_an_error) {
    const auto demo = host("--demo", "", "", "/dev/full");
    EXPECT_EQ(demo.exitCode, 1);
    EXPECT_THAT(
        demo.err,
        HasSubstr("kickmark-host: cannot write standard output: No space left on device\n"));
    EXPECT_EQ(std::count(demo.err.begin(), demo.err.end(), '\n'), 4) << demo.err;

    const auto help = host("--help", "", "", "/dev/full");
    EXPECT_EQ(help.exitCode, 1);
    EXPECT_THAT(help.err, HasSubstr("cannot write standard output"));

    // A pipe whose reader is gone, as after "| head -1": said once, and the save still runs.
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    close(pipeEnds[0]);
    const auto script = scratch / "strikes.script";
    writeBytes(script, "kickmark 1\nball 0 0 0\nball 3000 0 0\nkickmark\nkickmark_save\n");
    const auto piped = host(quoted(script), "", "", "&" + std::to_string(pipeEnds[1]));
    close(pipeEnds[1]);
    EXPECT_EQ(piped.exitCode, 1);
    EXPECT_EQ(piped.err.substr(piped.err.find('\n') + 1),
              "kickmark-host: cannot write standard output: Broken pipe\n");
    EXPECT_EQ(piped.shots, "3000.000000\n");
}

#endif

TEST_F(ConsoleSession, paths_name_what_the_system_would_open_and_nothing_else_is_made) {
    const auto shown = (scratch / "shown.script").string();
    writeBytes(shown, "kickmark_minspeed\n");
    const auto strikes = (scratch / "strikes.csv").string();
    writeBytes(strikes, "0,0,0\n3000,0,0\n");
    const auto script = scratch / "case.script";
    const auto where = script.string() + ":1: ";
    const auto in = [&](const std::string& name) { return scratch.string() + name; };
    [[maybe_unused]] const auto dataDir = [&](const std::string& name) {
        return "--data-dir " + quoted(fs::path(in(name)));
    };
    const std::string save = "kickmark_save\n";
    struct Case {
        std::string arguments; // after the default data folder
        std::string script;    // run from a file when not empty
        std::string input;     // standard input
        int exitCode;
        std::string said;
        fs::path savedIn = {}; // where shots.csv must be
        fs::path notMade = {};
    };
    std::vector<Case> cases = {
        // A NUL byte ends the name the system sees: "a\0zzz" would open "a".
        {"", "exec \"" + shown + std::string("\0zzz\"", 5), "", 1,
         where + "exec: " + shown + "\\x00zzz is not usable as a path\n"},
        {"", "replay \"" + strikes + std::string("\0\"", 2), "", 1,
         where + "replay: " + strikes + "\\x00 is not usable as a path\n"},
        // Standard input read as a script is already running, however it is named.
        {"-", "", "exec -\n", 1, "stdin:1: exec: - is already running\n"},
#if defined(_WIN32)
        // Windows names are UTF-16: text that is not UTF-8 names no file.
        {"", "exec \"\xff\"\n", "", 1, where + "exec: \\xFF is not usable as a path\n"},
        // Long forms stay as they are, as the system takes them.
        {"--plugin \"\\\\?\\" + pluginsdk::moduleBesideExecutable("kickmark").string() +
             "\" --data-dir \"\\\\?\\" + in("\\long") + "\"",
         save, "", 0, "", scratch / "long"},
#else
        {"-", "", "exec /dev/stdin\n", 1, "\nstdin:1: exec: /dev/stdin is already running\n"},
        // ".." after a link is the parent of its target; a folder named on the way and left
        // again is not made, nor is one past a file.
        {dataDir("/link/../newdata"), save, "", 0, "", scratch / "real" / "newdata",
         scratch / "newdata"},
        {dataDir("/missing/../data2"), save, "", 0, "", scratch / "data2", scratch / "missing"},
        {dataDir("/case.script/../x"), save, "", 2,
         "cannot create data folder " + in("/case.script/../x") + ": Not a directory\n", "",
         scratch / "x"},
        // Only names that are UTF-8 can be handed to plugins.
        {dataDir("/bad\xff"), save, "", 2,
         "kickmark-host: data folder " + in("/bad\\xFF") + " is not usable as a path\n", "",
         scratch / "bad\xff"},
#endif
    };
#if defined(_WIN32)
    // Network forms too. Wine serves \\SERVER\SHARE from its prefix's dosdevices\unc folder.
    if (const char* prefix = std::getenv("WINEPREFIX")) {
        const auto share = fs::path("Z:" + std::string(prefix) + "/dosdevices/unc/kickmark/" +
                                    testing::UnitTest::GetInstance()->current_test_info()->name())
                               .make_preferred();
        fs::remove_all(share);
        fs::create_directories(share);
        const auto unc = "\\\\kickmark\\" + share.filename().string();
        cases.push_back({"--data-dir \"" + unc + "\\data\"", save, "", 0, "", share / "data"});
        cases.push_back({"--data-dir \"\\\\?\\UNC" + unc.substr(1) + "\\unc\"", save, "", 0, "",
                         share / "unc"});
    }
#else
    fs::create_directories(scratch / "real" / "deep");
    fs::create_directory_symlink(scratch / "real" / "deep", scratch / "link");
#endif
    const auto input = scratch / "input";
    for (const auto& row : cases) {
        SCOPED_TRACE(row.arguments + " " + row.script + row.input);
        writeBytes(script, row.script);
        writeBytes(input, row.input);
        const auto session =
            host(row.arguments + (row.script.empty() ? "" : " " + quoted(script)), input.string());
        EXPECT_EQ(session.exitCode, row.exitCode) << session.err;
        EXPECT_THAT(session.err, HasSubstr(row.said));
        EXPECT_EQ(session.out, "");
        if (!row.savedIn.empty()) {
            EXPECT_TRUE(fs::is_regular_file(row.savedIn / "shots.csv")) << session.err;
        }
        if (!row.notMade.empty()) {
            EXPECT_FALSE(fs::exists(row.notMade)) << row.notMade;
        }
    }
}

TEST_F(ConsoleSession, work_is_bounded_exec_never_runs_a_file_inside_itself) {
    const auto self = scratch / "self.script";
    const auto other = scratch / "other.script";
    writeBytes(self, "exec " + quoted(self) + "\nexec " + quoted(other) + "\nexec " + quoted(self) +
                         "\nkickmark_minspeed 1500\n");
    writeBytes(other, "exec " + quoted(self) + "\nkickmark_minspeed\n");
    const auto script = scratch / "main.script";
    writeBytes(script, "exec " + quoted(self) + "\nexec " + quoted(self) + "\ntick 10368001\n" +
                           "tick +5\ntick 1e3\ntick 2 3\n");
    const auto session = host(quoted(script));
    EXPECT_EQ(session.exitCode, 1);
    // Each run of self.script: other.script prints the minimum, set by the run before.
    EXPECT_EQ(session.out, "kickmark_minspeed = 1000\nkickmark_minspeed = 1500\n");
    const auto running = "exec: " + self.string() + " is already running\n";
    EXPECT_THAT(session.err, HasSubstr(self.string() + ":1: " + running));
    EXPECT_THAT(session.err, HasSubstr(other.string() + ":1: " + running));
    EXPECT_THAT(session.err, HasSubstr(self.string() + ":3: " + running));
    const auto ticks = "tick: expected a whole number of ticks from 0 to 10368000\n";
    for (int line = 3; line <= 6; ++line)
        EXPECT_THAT(session.err,
                    HasSubstr(script.string() + ":" + std::to_string(line) + ": " + ticks));
}

TEST_F(ConsoleSession, numbers_and_arguments_follow_one_rule_on_every_line) {
    const auto script = scratch / "numbers.script";
    writeBytes(script, "kickmark_minspeed -0\nkickmark_minspeed\nkickmark_minspeed +1.5e3\n"
                       "kickmark_minspeed\nkickmark 1\nball +0 -0 0e0\nball +3e3 0 0\n"
                       "simulate 12345.678 9\nsimulate -0\nsimulate +2.5e0 1\nsimulate 1 x\n"
                       "simulate 1 -1\nsimulate 86401\nsimulate 1 2 3\nquit x\nkickmark 0\n"
                       "simulate 5 1\nquit\nkickmark\n");
    const auto session = host(quoted(script));
    EXPECT_EQ(session.exitCode, 1);
    EXPECT_THAT(session.out, testing::StartsWith("kickmark_minspeed = 0\nkickmark_minspeed = 1500\n"
                                                 "[BAKKESMOD] 1 Shot speed: 3000.00\n"));
    EXPECT_THAT(session.out, testing::Not(HasSubstr("kickmark =")));
    const auto where = script.string() + ":";
    EXPECT_THAT(session.err, HasSubstr("strikes in 12345.678 s (seed 9)"));
    EXPECT_THAT(session.err, HasSubstr("simulate: 0 strikes in 0 s (seed 20261208)"));
    EXPECT_THAT(session.err, HasSubstr("in 2.5 s (seed 1)"));
    EXPECT_THAT(session.err, HasSubstr("simulate: 1 strike in 5 s (seed 1), 0 announced"));
    const auto seed = ": simulate: SEED must be a whole number from 0 to 18446744073709551615: ";
    EXPECT_THAT(session.err, HasSubstr(where + "11" + seed + "x\n"));
    EXPECT_THAT(session.err, HasSubstr(where + "12" + seed + "-1\n"));
    EXPECT_THAT(
        session.err,
        HasSubstr(where + "13: simulate: SECONDS must be a number from 0 to 86400: 86401\n"));
    EXPECT_THAT(session.err, HasSubstr(where + "14: simulate: expected [SECONDS] [SEED]\n"));
    EXPECT_THAT(session.err, HasSubstr(where + "15: quit: takes no arguments\n"));
    EXPECT_EQ(std::count(session.err.begin(), session.err.end(), '\n'), 1 + 4 + 5);
}

#if !defined(_WIN32)
TEST_F(ConsoleSession, a_decimal_comma_locale_changes_no_number) {
    // The host adopts the locale from the environment, as a game process would.
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "the system has no de_DE.UTF-8 locale";
    std::setlocale(LC_ALL, "C");
    const auto session = host("measuring.script", "", "LC_ALL=de_DE.UTF-8 ");
    EXPECT_EQ(session.exitCode, 0) << session.err;
    EXPECT_EQ(session.out, golden("measuring.out"));
    EXPECT_EQ(session.shots, golden("measuring.csv"));
}
#endif

} // namespace
