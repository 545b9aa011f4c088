#include "BackgroundProcess.h"

#include "Files.h"

#include <algorithm>
#include <chrono>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

constexpr auto stopTimeout = std::chrono::seconds(10);

} // namespace

#ifdef _WIN32

BackgroundProcess::BackgroundProcess(const std::vector<std::filesystem::path>& command,
                                     const std::filesystem::path& out,
                                     const std::filesystem::path& err) {
    std::wstring line;
    for (const auto& word : command) {
        line += (line.empty() ? L"\"" : L" \"") + word.wstring() + L"\"";
    }
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const auto openOutput = [&](const std::filesystem::path& path) {
        return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inherited, CREATE_ALWAYS, 0, nullptr);
    };
    HANDLE outFile = openOutput(out);
    HANDLE errFile = openOutput(err);
    HANDLE inFile = CreateFileW(L"NUL", GENERIC_READ, 0, &inherited, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inFile;
    startup.hStdOutput = outFile;
    startup.hStdError = errFile;
    PROCESS_INFORMATION process{};
    // A group of its own, so that a Ctrl+Break reaches it and not the test.
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NEW_PROCESS_GROUP,
                       nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        process_ = process.hProcess;
        id_ = process.dwProcessId;
    }
    CloseHandle(inFile);
    CloseHandle(outFile);
    CloseHandle(errFile);
}

BackgroundProcess::~BackgroundProcess() {
    if (process_ != nullptr) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, INFINITE);
        CloseHandle(process_);
    }
}

std::optional<int> BackgroundProcess::stop(bool) {
    if (process_ == nullptr) {
        return std::nullopt;
    }
    GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, id_);
    const DWORD waited = WaitForSingleObject(
        process_, static_cast<DWORD>(std::chrono::milliseconds(stopTimeout).count()));
    std::optional<int> status;
    DWORD exitCode = 0;
    if (waited == WAIT_OBJECT_0 && GetExitCodeProcess(process_, &exitCode)) {
        status = static_cast<int>(exitCode);
    } else {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, INFINITE);
    }
    CloseHandle(process_);
    process_ = nullptr;
    return status;
}

std::optional<double> BackgroundProcess::cpuMilliseconds() const {
    return std::nullopt;
}

#else

BackgroundProcess::BackgroundProcess(const std::vector<std::filesystem::path>& command,
                                     const std::filesystem::path& out,
                                     const std::filesystem::path& err) {
    std::vector<std::string> words;
    for (const auto& word : command) {
        words.push_back(word.string());
    }
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int outFile = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errFile = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(in, 0);
        dup2(outFile, 1);
        dup2(errFile, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
}

BackgroundProcess::~BackgroundProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

std::optional<int> BackgroundProcess::stop(bool interrupt) {
    if (pid_ <= 0) {
        return std::nullopt;
    }
    kill(pid_, interrupt ? SIGINT : SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + stopTimeout;
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            pid_ = -1;
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
    return WIFEXITED(status) ? std::optional<int>(WEXITSTATUS(status)) : std::nullopt;
}

std::optional<double> BackgroundProcess::cpuMilliseconds() const {
    // Fields 14 and 15 of /proc/PID/stat: user and system time in clock ticks.
    std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    const auto afterName = text.rfind(')');
    if (afterName == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(text.substr(afterName + 2));
    std::string field;
    long ticks = 0;
    for (int number = 3; fields >> field && number <= 15; ++number) {
        if (number >= 14) {
            ticks += std::stol(field);
        }
    }
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

#endif

std::string waitForLines(const std::filesystem::path& path, std::size_t count, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    std::string text = readBytes(path);
    while (static_cast<std::size_t>(std::ranges::count(text, '\n')) < count &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        text = readBytes(path);
    }
    return text;
}
