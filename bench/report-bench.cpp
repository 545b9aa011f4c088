// What a player waits for: the whole kickmark-report run on a large shots file with a chart,
// and the chart alone from speeds already in memory.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "FileReplacement.h"
#include "KeptName.h"
#include "SvgChart.h"

namespace fs = std::filesystem;

namespace {

// A long practice that slowly improves, saved as the plugin saves it.
std::vector<double> practice(std::size_t shots) {
    std::mt19937 random(20261208);
    std::normal_distribution<double> spread(0.0, 700.0);
    std::vector<double> speeds;
    speeds.reserve(shots);
    for (std::size_t i = 0; i < shots; ++i) {
        const double speed =
            2500.0 + 1000.0 * static_cast<double>(i) / static_cast<double>(shots) + spread(random);
        speeds.push_back(static_cast<float>(std::max(0.0, speed)));
    }
    return speeds;
}

void writeShotsFile(const fs::path& path, std::size_t shots) {
    std::FILE* out = std::fopen(path.c_str(), "w");
    for (const double speed : practice(shots)) {
        std::fprintf(out, "%f\n", speed);
    }
    std::fclose(out);
}

void BM_ReportWithChart(benchmark::State& state) {
    const auto shots = static_cast<std::size_t>(state.range(0));
    const fs::path folder = fs::temp_directory_path() / "kickmark-report-bench";
    fs::create_directories(folder);
    const fs::path csv = folder / "shots.csv";
    const fs::path chart = folder / "chart.svg";
    writeShotsFile(csv, shots);
    const std::string command = std::string("\"") + KICKMARK_REPORT_EXE + "\" --svg \"" +
                                chart.string() + "\" \"" + csv.string() + "\" > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("kickmark-report failed");
            break;
        }
    }
    state.counters["chart_bytes"] = static_cast<double>(fs::file_size(chart));
    fs::remove_all(folder);
}
BENCHMARK(BM_ReportWithChart)
    ->Arg(1'000'000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Each word quoted, standard output discarded.
std::string shellCommand(std::initializer_list<std::string> words) {
    std::string command;
    for (const auto& word : words) {
        command.append(1, '"').append(word).append("\" ");
    }
    return command.append("> /dev/null");
}

double childProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct RunTime {
    double wall = 0;      // seconds
    double processor = 0; // seconds the program itself ran
};

// One run of `command`, or nothing when it failed.
std::optional<RunTime> timeOf(const std::string& command) {
    const double processorBefore = childProcessorSeconds();
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    if (status != 0) {
        return std::nullopt;
    }
    return RunTime{wall.count(), childProcessorSeconds() - processorBefore};
}

// kickmark-report against the least a report must do (speed-baseline: strtod and one sort),
// and with a chart against without, each turn running all three on the same file. The best
// of the turns counts, and the ratios are of the programs' own processor time, which other
// work on a shared machine does not inflate as it does the time on the wall.
void BM_ReportAgainstBaseline(benchmark::State& state) {
    const auto shots = static_cast<std::size_t>(state.range(0));
    const fs::path folder = fs::temp_directory_path() / "kickmark-report-bench-baseline";
    fs::create_directories(folder);
    const fs::path csv = folder / "shots.csv";
    writeShotsFile(csv, shots);
    const std::string chart = (folder / "chart.svg").string();
    const std::array<std::string, 3> names = {"baseline", "report", "svg"};
    const std::array<std::string, 3> commands = {
        shellCommand({KICKMARK_SPEED_BASELINE_EXE, csv.string()}),
        shellCommand({KICKMARK_REPORT_EXE, csv.string()}),
        shellCommand({KICKMARK_REPORT_EXE, "--svg", chart, csv.string()}),
    };
    std::array<RunTime, 3> best = {};
    bool first = true;
    for (auto _ : state) {
        for (std::size_t i = 0; i < commands.size(); ++i) {
            const auto time = timeOf(commands[i]);
            if (!time) {
                state.SkipWithError(("failed: " + commands[i]).c_str());
                fs::remove_all(folder);
                return;
            }
            best[i].wall = first ? time->wall : std::min(best[i].wall, time->wall);
            best[i].processor =
                first ? time->processor : std::min(best[i].processor, time->processor);
        }
        first = false;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        state.counters[names[i] + "_ms"] = 1000 * best[i].wall;
        state.counters[names[i] + "_cpu_ms"] = 1000 * best[i].processor;
    }
    state.counters["report_per_baseline"] = best[1].processor / best[0].processor;
    state.counters["svg_per_report"] = best[2].processor / best[1].processor;
    fs::remove_all(folder);
}
BENCHMARK(BM_ReportAgainstBaseline)
    ->Arg(10'000'000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_SvgChart(benchmark::State& state) {
    const auto speeds = practice(static_cast<std::size_t>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out;
        kickmark::writeSvgChart(
            out, {.speeds = kickmark::RankedSpeeds(speeds), .recentCount = 10, .sessions = {}});
        bytes = out.str().size();
    }
    state.counters["chart_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SvgChart)->Arg(100)->Arg(4000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// A long history: the newest session's shots above, a panel of every session below.
void BM_SessionsChart(benchmark::State& state) {
    const std::vector<kickmark::Session> sessions(static_cast<std::size_t>(state.range(0)),
                                                  {"s.csv", "2026-12-04 18:00", practice(100)});
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out;
        kickmark::writeSvgChart(out, {.speeds = kickmark::RankedSpeeds(sessions.back().speeds),
                                      .recentCount = 10,
                                      .sessions = sessions});
        bytes = out.str().size();
    }
    state.counters["chart_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SessionsChart)->Arg(100)->Arg(10'000)->Unit(benchmark::kMillisecond);

// Folders removed only when the benchmarks are over: ext4 passes over the inodes of files
// deleted in the last half minute when it makes new ones, which would charge one run's cleanup
// to the next run's copies.
struct LeftOvers {
    std::vector<fs::path> folders;
    ~LeftOvers() {
        for (const auto& folder : folders) {
            fs::remove_all(folder);
        }
    }
};
LeftOvers leftOvers;

// --keep of a folder of practices into an empty folder: every session read, checked, looked up
// among the kept ones and copied. Twice the sessions should take about twice as long.
void BM_Keep(benchmark::State& state) {
    const auto sessions = static_cast<int>(state.range(0));
    const fs::path folder =
        fs::temp_directory_path() / ("kickmark-report-bench-keep-" + std::to_string(sessions));
    const fs::path saved = folder / "saved";
    fs::remove_all(folder);
    fs::create_directories(saved);
    leftOvers.folders.push_back(folder);
    const std::vector<double> speeds = practice(100);
    for (int i = 0; i < sessions; ++i) {
        // One practice a day up to today, each with shots of its own.
        std::string bytes = std::to_string(1000 + i) + ".000000\n";
        for (const double speed : speeds) {
            char line[32];
            std::snprintf(line, sizeof line, "%f\n", speed);
            bytes += line;
        }
        const kickmark::files::FileTime day{
            kickmark::files::currentTime().seconds - std::int64_t{86400} * (sessions - i), 0};
        kickmark::files::createFile(saved / (std::to_string(i) + ".csv"), bytes, day);
    }
    // The time on the wall is mostly the disk's, shared with whatever else runs; the program's
    // own processor time says whether the work itself grows in step.
    const double cpuBefore = childProcessorSeconds();
    int run = 0;
    for (auto _ : state) {
        const fs::path kept = folder / ("kept-" + std::to_string(++run));
        const std::string command = std::string("\"") + KICKMARK_REPORT_EXE + "\" --keep \"" +
                                    kept.string() + "\" \"" + saved.string() + "\" > /dev/null";
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("kickmark-report --keep failed");
            break;
        }
    }
    state.counters["report_cpu_ms"] =
        1000.0 * (childProcessorSeconds() - cpuBefore) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Keep)
    ->Arg(1000)
    ->Arg(2000)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

std::string savedBytes(std::span<const double> speeds, int first) {
    std::string bytes = std::to_string(first) + ".000000\n";
    for (const double speed : speeds) {
        char line[32];
        std::snprintf(line, sizeof line, "%f\n", speed);
        bytes += line;
    }
    return bytes;
}

std::size_t linesIn(const fs::path& path) {
    std::ifstream in(path);
    return static_cast<std::size_t>(
        std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
}

// The processor time a running process has had so far, in nanoseconds.
double processorNanoseconds(pid_t process) {
    std::ifstream in("/proc/" + std::to_string(process) + "/schedstat");
    double nanoseconds = 0;
    in >> nanoseconds;
    return nanoseconds;
}

// kickmark-report --watch beside a folder of N kept sessions of 100 shots, one save after the
// other: each is timed from the moment the save is complete to the line the watcher prints for
// it, so the time includes the wait for the watcher's next look at the file (up to half a
// second). watch_cpu_ms is the watcher's own processor time per save: reading, keeping, the chart
// and the page redrawn over every session, the line.
void BM_WatchSave(benchmark::State& state) {
    const auto sessions = static_cast<int>(state.range(0));
    const fs::path folder =
        fs::temp_directory_path() / ("kickmark-report-bench-watch-" + std::to_string(sessions));
    const fs::path kept = folder / "kept";
    const fs::path data = folder / "data";
    fs::remove_all(folder);
    fs::create_directories(kept);
    fs::create_directories(data);
    leftOvers.folders.push_back(folder);
    const std::vector<double> speeds = practice(100);
    const std::int64_t now = kickmark::files::currentTime().seconds;
    for (int i = 0; i < sessions; ++i) {
        // A practice an hour, named as keeping names them.
        const kickmark::files::FileTime time{now - std::int64_t{3600} * (sessions - i), 0};
        kickmark::files::createFile(kept / kickmark::keptName(time, 1), savedBytes(speeds, i),
                                    time);
    }
    const fs::path out = folder / "watch.out";
    const fs::path shots = data / "shots.csv";
    const pid_t watcher = fork();
    if (watcher == 0) {
        std::freopen(out.c_str(), "w", stdout);
        std::freopen((folder / "watch.err").c_str(), "w", stderr);
        execl(KICKMARK_REPORT_EXE, KICKMARK_REPORT_EXE, "--watch", "--keep", kept.c_str(), "--svg",
              (folder / "chart.svg").c_str(), "--html", (folder / "page.html").c_str(),
              shots.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // Started once it has drawn the page of the sessions it read.
    while (!fs::exists(folder / "page.html")) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const double cpuBefore = processorNanoseconds(watcher);
    std::size_t saves = 0;
    for (auto _ : state) {
        const fs::path temporary = data / "shots.tmp";
        // A first shot of its own makes each save a session of its own.
        kickmark::files::createFile(temporary,
                                    savedBytes(speeds, 100'000 + static_cast<int>(++saves)));
        fs::rename(temporary, shots);
        const auto start = std::chrono::steady_clock::now();
        while (linesIn(out) < saves &&
               std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (linesIn(out) < saves) {
            state.SkipWithError("kickmark-report --watch told no save in 10 s");
            break;
        }
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["watch_cpu_ms"] =
        (processorNanoseconds(watcher) - cpuBefore) / 1e6 / static_cast<double>(saves);
    kill(watcher, SIGTERM);
    int status = 0;
    waitpid(watcher, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        state.SkipWithError("kickmark-report --watch did not stop cleanly");
    }
}
BENCHMARK(BM_WatchSave)
    ->Arg(0)
    ->Arg(50'000)
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

} // namespace

BENCHMARK_MAIN();
