#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A program running beside the test until the test stops it, its standard output and error
// going to files. Its standard input is empty.
class BackgroundProcess {
public:
    // `command` is the program's path, then its arguments.
    BackgroundProcess(const std::vector<std::filesystem::path>& command,
                      const std::filesystem::path& out, const std::filesystem::path& err);
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;
    // Kills it when it is still running.
    ~BackgroundProcess();

    // Asks it to stop as a player would: SIGTERM or SIGINT (`interrupt`) on Linux, Ctrl+Break
    // to its process group on Windows. Its exit status, or nothing when it was still running
    // ten seconds later (it is killed then) or died of a signal. Under Wine the event reaches
    // no program a test starts, so there it is always nothing.
    std::optional<int> stop(bool interrupt = false);

    // The processor time it has used so far, in milliseconds (Linux only: nothing elsewhere).
    std::optional<double> cpuMilliseconds() const;

private:
#ifdef _WIN32
    void* process_ = nullptr;
    unsigned long id_ = 0;
#else
    int pid_ = -1;
#endif
};

// Waits up to `seconds` for `path` to hold at least `count` lines; returns its text then (or
// whatever it holds when the time is up).
std::string waitForLines(const std::filesystem::path& path, std::size_t count, double seconds);
