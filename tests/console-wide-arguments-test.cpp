// On Windows the console program takes its command line as wide text: a data folder and a
// script named outside the ANSI code page reach it intact.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "Files.h"
#include "Host.h"
#include "PluginHost.h"

namespace fs = std::filesystem;

namespace {

// Started directly: cmd.exe, like any narrow command line, would turn the characters under
// test into question marks before the program saw them.
std::optional<DWORD> runHost(const std::wstring& arguments) {
    std::wstring commandLine = L"\"" +
                               (pluginsdk::executableDirectory() / "kickmark-host.exe").wstring() +
                               L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return std::nullopt;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

TEST(ConsoleWideArguments, a_data_folder_and_a_script_outside_the_ansi_code_page_work) {
    const fs::path folder = testFolder("scratch") / L"donn\u00e9es-\u65e5\u672c-\U0001F3CE";
    const fs::path script = folder / L"s\u00e9ance-\u7df4\u7fd2.script";
    fs::create_directories(folder);
    writeBytes(script, "kickmark_save\n");

    const auto exitCode = runHost(L"--data-dir \"" + (folder / "data").wstring() + L"\" \"" +
                                  script.wstring() + L"\"");
    ASSERT_TRUE(exitCode) << "CreateProcessW failed: " << GetLastError();
    EXPECT_EQ(*exitCode, 0u);
    EXPECT_TRUE(fs::exists(folder / "data" / "shots.csv"));
}

} // namespace
