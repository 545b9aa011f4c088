// What a player waits for: the whole kickmark-report run on a large shots file with a chart,
// and the chart alone from speeds already in memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

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

void BM_ReportWithChart(benchmark::State& state) {
    const auto shots = static_cast<std::size_t>(state.range(0));
    const fs::path folder = fs::temp_directory_path() / "kickmark-report-bench";
    fs::create_directories(folder);
    const fs::path csv = folder / "shots.csv";
    const fs::path chart = folder / "chart.svg";
    {
        std::FILE* out = std::fopen(csv.c_str(), "w");
        for (const double speed : practice(shots)) {
            std::fprintf(out, "%f\n", speed);
        }
        std::fclose(out);
    }
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

void BM_SvgChart(benchmark::State& state) {
    const auto speeds = practice(static_cast<std::size_t>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out;
        kickmark::writeSvgChart(out, {.speeds = speeds, .recentCount = 10, .sessions = {}});
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
        kickmark::writeSvgChart(
            out, {.speeds = sessions.back().speeds, .recentCount = 10, .sessions = sessions});
        bytes = out.str().size();
    }
    state.counters["chart_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SessionsChart)->Arg(100)->Arg(10'000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
