// On Windows the console program takes its command line as wide text: a data folder and a
// script named outside the ANSI code page reach it intact, and a name that is no UTF-16 is
// refused as Linux refuses bytes that are no UTF-8.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "Files.h"
#include "Host.h"
#include "PathText.h"

namespace fs = std::filesystem;

namespace {

struct Run {
    DWORD exitCode;
    std::string err;
};

// Started directly: cmd.exe, like any narrow command line, would turn the characters under
// test into question marks before the program saw them.
std::optional<Run> runHost(const std::wstring& arguments, const fs::path& errFile) {
    std::wstring commandLine = L"\"" +
                               (pluginsdk::executableDirectory() / "kickmark-host.exe").wstring() +
                               L"\" " + arguments;
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE err = CreateFileW(errFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                             CREATE_ALWAYS, 0, nullptr);
    if (err == INVALID_HANDLE_VALUE)
        return std::nullopt;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(err);
    if (!started)
        return std::nullopt;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return Run{exitCode, readBytes(errFile)};
}

TEST(ConsoleWideArguments, names_outside_the_ansi_code_page_work_and_names_that_are_no_utf16_not) {
    const auto scratch = testFolder("scratch");
    const fs::path folder = scratch / L"donn\u00e9es-\u65e5\u672c-\U0001F3CE";
    const fs::path script = folder / L"s\u00e9ance-\u7df4\u7fd2.script";
    fs::create_directories(folder);
    writeBytes(script, "kickmark_save\n");
    // A lone surrogate: made into U+FFFD on the way to UTF-8, it would name another folder.
    const fs::path lone = scratch / L"lone\xD800x";
    const struct {
        fs::path dataFolder;
        DWORD exitCode;
        std::string said;
    } cases[] = {
        {folder / "data", 0, ""},
        {lone, 2,
         "kickmark-host: data folder " + kickmark::text::visiblePath(scratch) +
             "\\lone\\xED\\xA0\\x80x is not usable as a path"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.said);
        const auto run = runHost(L"--data-dir \"" + row.dataFolder.wstring() + L"\" \"" +
                                     script.wstring() + L"\"",
                                 scratch / "err");
        ASSERT_TRUE(run) << "starting kickmark-host failed: " << GetLastError();
        EXPECT_EQ(run->exitCode, row.exitCode) << run->err;
        EXPECT_THAT(run->err, testing::HasSubstr(row.said));
        EXPECT_EQ(fs::exists(row.dataFolder / "shots.csv"), row.exitCode == 0);
    }
    EXPECT_FALSE(fs::exists(lone));
    EXPECT_FALSE(fs::exists(scratch / L"lone\uFFFDx"));
}

} // namespace
