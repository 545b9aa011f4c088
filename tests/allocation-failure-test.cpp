// Out of memory at any entry point the host can reach: nothing leaves the module, and nothing
// recorded is lost.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Console.h"
#include "Files.h"
#include "Module.h"
#include "PluginHost.h"
#include "TestAllocator.h"

using BakkesMod::Plugin::PluginInfo;
using testing::ElementsAre;

namespace {

// Runs the call once for every allocation it makes, refusing that one and all after it, until
// a run refuses none. After each run nothing may have escaped and `intact` checks the state.
template <typename Call, typename Check> void atEveryAllocation(Call call, Check intact) {
    for (std::size_t allowed = 0;; ++allowed) {
        bool escaped = false;
        testAllocator::failAfter(allowed);
        try {
            call();
        } catch (...) {
            escaped = true;
        }
        const bool refused = testAllocator::stopFailing();
        ASSERT_FALSE(escaped) << "an exception left the module after " << allowed << " allocations";
        intact();
        if (!refused)
            return;
    }
}

void skipOnWindows() {
#if defined(_WIN32)
    GTEST_SKIP() << "each DLL has its own operator new: the module's cannot be refused";
#endif
}

class ModuleAllocation : public testing::Test {
protected:
    void SetUp() override { skipOnWindows(); }

    pluginsdk::Module module{PluginHost::modulePath()};
    const PluginInfo& info = *static_cast<const PluginInfo*>(module.symbol("exports"));

    void TearDown() override { info.deleteFunc(); }
};

TEST_F(ModuleAllocation, the_object_is_made_by_the_first_getPlugin_not_by_loading) {
    auto before = testAllocator::count();
    auto* slot = info.initializeFunc();
    EXPECT_GT(testAllocator::count(), before);
    ASSERT_TRUE(*slot);
    before = testAllocator::count();
    info.initializeFunc();
    EXPECT_EQ(testAllocator::count(), before);
}

TEST_F(ModuleAllocation, getPlugin_out_of_memory_hands_back_the_empty_handle) {
    const auto* first = info.initializeFunc();
    info.deleteFunc();
    atEveryAllocation([&] { EXPECT_EQ(info.initializeFunc(), first); },
                      [&] {
                          if (*first)
                              info.deleteFunc();
                      });
    EXPECT_TRUE(*info.initializeFunc());
}

class AllocationFailure : public testing::Test, public PluginHost {
protected:
    void SetUp() override {
        skipOnWindows();
        set("kickmark", "1");
        ball(0, 0, 0);
        ball(1500, 0, 0);
        ball(2500, 0, 0);
    }
};

TEST_F(AllocationFailure, onLoad_and_onUnload_throw_nothing_and_registration_survives) {
    atEveryAllocation([&] { plugin().onLoad(); }, [] {});
    atEveryAllocation([&] { plugin().onUnload(); }, [] {});
    set("kickmark", "1");
    ball(3000, 0, 0);
    EXPECT_THAT(plugin().measurements, ElementsAre(1500.0f, 2500.0f, 3000.0f));
}

TEST_F(AllocationFailure, the_variable_handler_throws_nothing_and_keeps_at_most_one_hook) {
    const auto changed = probe.pluginValueChanged(kickmark::enabledVariable);
    ASSERT_TRUE(changed);
    atEveryAllocation([&] { changed({}); },
                      [&] { EXPECT_LE(probe.hookCount(kickmark::tickEvent), 1u); });
    EXPECT_EQ(probe.hookCount(kickmark::tickEvent), 1u);
}

TEST_F(AllocationFailure, commands_throw_nothing_and_a_failed_save_loses_nothing) {
    const auto save = probe.pluginCommand(kickmark::saveCommand);
    const auto reset = probe.pluginCommand(kickmark::resetCommand);
    ASSERT_TRUE(save && reset);
    const auto saved = textLines({"1500.000000", "2500.000000"});
    atEveryAllocation([&] { save({}); },
                      [&] {
                          EXPECT_THAT(plugin().measurements, ElementsAre(1500.0f, 2500.0f));
                          const auto file = readBytes(dataFolder / "shots.csv");
                          EXPECT_TRUE(file.empty() || file == saved) << file;
                      });
    EXPECT_EQ(readBytes(dataFolder / "shots.csv"), saved);
    atEveryAllocation([&] { reset({}); }, [] {});
    EXPECT_TRUE(plugin().measurements.empty());
}

TEST_F(AllocationFailure, a_strike_throws_nothing_and_keeps_every_earlier_speed) {
    const auto tick = probe.pluginHook(kickmark::tickEvent);
    ASSERT_TRUE(tick);
    host.setBallVelocity(3000, 0, 0);
    atEveryAllocation(
        [&] {
            plugin().lastHorizontalSpeedSq = 0.0f;
            tick({});
        },
        [&] {
            const auto& speeds = plugin().measurements;
            ASSERT_GE(speeds.size(), 2u);
            EXPECT_EQ(speeds[0], 1500.0f);
            EXPECT_EQ(speeds[1], 2500.0f);
            EXPECT_EQ(plugin().lastHorizontalSpeedSq, 9e6f);
        });
    EXPECT_EQ(plugin().measurements.back(), 3000.0f);
    EXPECT_EQ(chatTexts().back(),
              std::to_string(plugin().measurements.size()) + " Shot speed: 3000.00");
}

} // namespace
