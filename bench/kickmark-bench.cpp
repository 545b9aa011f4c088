// The per-tick cost of the plugin against the host's own cost for the same queries, and the
// cost of a save. Every figure goes through the real module loaded into the stand-in host.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <numeric>

#include "Console.h"
#include "Host.h"
#include "HostProbe.h"
#include "Kickmark.h"

namespace fs = std::filesystem;

namespace {

struct LoadedPlugin {
    pluginsdk::Host host;
    pluginsdk::HostProbe probe{host};
    fs::path folder = fs::temp_directory_path() / "kickmark-bench";

    LoadedPlugin() {
        fs::create_directories(folder);
        host.setDataFolder((folder / "").wstring());
        host.loadPlugin(pluginsdk::moduleBesideExecutable("kickmark"));
    }
    Kickmark& plugin() { return *static_cast<Kickmark*>(probe.plugin()); }
    void measuring(bool on) { host.setVariable(kickmark::enabledVariable, on ? "1" : "0"); }
};

void BM_TickMeasuringOff(benchmark::State& state) {
    LoadedPlugin loaded;
    loaded.measuring(false);
    for (auto _ : state)
        loaded.host.raiseEvent(kickmark::tickEvent);
}
BENCHMARK(BM_TickMeasuringOff);

void BM_TickIdle(benchmark::State& state) {
    LoadedPlugin loaded;
    loaded.measuring(true);
    loaded.host.setBallVelocity(1200.0f, -300.0f, 40.0f);
    for (auto _ : state)
        loaded.host.raiseEvent(kickmark::tickEvent);
    if (!loaded.plugin().measurements.empty())
        state.SkipWithError("an idle ball was recorded");
}
BENCHMARK(BM_TickIdle);

void BM_TickStrike(benchmark::State& state) {
    LoadedPlugin loaded;
    loaded.measuring(true);
    loaded.host.setBallVelocity(2345.678f, 100.0f, 250.0f);
    auto& plugin = loaded.plugin();
    for (auto _ : state) {
        plugin.lastHorizontalSpeedSq = 0.0f; // every tick is a rise from rest
        loaded.host.raiseEvent(kickmark::tickEvent);
        if (loaded.host.chat().size() > 4096)
            loaded.host.clearChat();
    }
    state.counters["recorded"] = static_cast<double>(plugin.measurements.size());
}
BENCHMARK(BM_TickStrike);

// The floor: the same host queries a sample makes, with no plugin logic around them.
void BM_HostQueriesOnly(benchmark::State& state) {
    LoadedPlugin loaded;
    loaded.host.setBallVelocity(1200.0f, -300.0f, 40.0f);
    auto game = loaded.host.gameWrapper();
    game->HookEvent(kickmark::tickEvent, [&game](std::string) {
        if (!game->IsInFreeplay())
            return;
        ServerWrapper server = game->GetGameEventAsServer();
        if (server.IsNull())
            return;
        BallWrapper ball = server.GetBall();
        if (ball.IsNull())
            return;
        benchmark::DoNotOptimize(ball.GetOldRBState().LinearVelocity);
    });
    for (auto _ : state)
        loaded.host.raiseEvent(kickmark::tickEvent);
    game->UnhookEvent(kickmark::tickEvent);
}
BENCHMARK(BM_HostQueriesOnly);

void BM_Save(benchmark::State& state) {
    LoadedPlugin loaded;
    auto& speeds = loaded.plugin().measurements;
    speeds.resize(static_cast<std::size_t>(state.range(0)));
    std::iota(speeds.begin(), speeds.end(), 1000.25f);
    for (auto _ : state)
        loaded.host.runCommand({kickmark::saveCommand});
    state.SetItemsProcessed(state.iterations() * state.range(0));
    fs::remove_all(loaded.folder);
}
BENCHMARK(BM_Save)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
