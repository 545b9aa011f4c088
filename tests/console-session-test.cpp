// Whole console sessions through the real kickmark-host program and the real module: a script
// in, the exact standard output and "shots.csv" out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>

#include "Files.h"
#include "Host.h"
#include "PluginHost.h"

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

struct Session {
    int exitCode;
    std::string out;
    std::string err;
    std::string shots; // "shots.csv" with "\n" line ends, or "(none)"
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
    Session host(const std::string& arguments, const std::string& stdinFile = "",
                 const std::string& environment = "") {
        const auto previous = fs::current_path();
        fs::current_path(sessions);
        std::string command = environment +
                              quoted(pluginsdk::executableDirectory() / "kickmark-host") +
                              " --data-dir " + quoted(data) + " " + arguments + " > " +
                              quoted(scratch / "out") + " 2> " + quoted(scratch / "err");
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
        return {exitCode, withoutCarriageReturns(readBytes(scratch / "out")),
                withoutCarriageReturns(readBytes(scratch / "err")),
                fs::exists(shots) ? withoutCarriageReturns(readBytes(shots)) : "(none)"};
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
    EXPECT_THAT(script.err, HasSubstr("cannot read no-such.script"));

    const auto option = host("--fast");
    EXPECT_EQ(option.exitCode, 2);
    EXPECT_THAT(option.err, HasSubstr("unknown option --fast"));
    EXPECT_THAT(option.err, HasSubstr("usage: kickmark-host"));
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
    EXPECT_THAT(session.err, HasSubstr("shots.csv: "));
    EXPECT_EQ(std::count(session.shots.begin(), session.shots.end(), '\n'),
              std::count(session.out.begin(), session.out.end(), '\n'));
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
