// A tick that records nothing must not touch the heap: it runs on every game tick.
#include <gtest/gtest.h>

#include "Console.h"
#include "PluginHost.h"
#include "TestAllocator.h"

namespace {

class TickAllocation : public testing::Test, public PluginHost {
protected:
    void SetUp() override {
#if defined(_WIN32)
        GTEST_SKIP() << "each DLL has its own operator new: the module's cannot be counted";
#endif
        set("kickmark", "1");
        ball(1000, 0, 0);
        ball(1000, 0, 0);
    }

    // What raising the event costs beyond the host's own share, which is the same for any
    // hooked callback (the event name it passes by value).
    std::ptrdiff_t pluginAllocationsPerTick() {
        const auto before = testAllocator::count();
        host.raiseEvent(kickmark::tickEvent);
        const auto plugin = static_cast<std::ptrdiff_t>(testAllocator::count() - before);

        set("kickmark", "0");
        auto hook = host.gameWrapper();
        hook->HookEvent(kickmark::tickEvent, [](std::string) {});
        const auto baseBefore = testAllocator::count();
        host.raiseEvent(kickmark::tickEvent);
        const auto base = static_cast<std::ptrdiff_t>(testAllocator::count() - baseBefore);
        hook->UnhookEvent(kickmark::tickEvent);
        return plugin - base;
    }
};

TEST_F(TickAllocation, none_while_measuring_is_off) {
    *plugin().enabled = false;
    EXPECT_EQ(pluginAllocationsPerTick(), 0);
}

TEST_F(TickAllocation, none_out_of_free_play_or_without_a_ball) {
    host.setFreeplay(false);
    EXPECT_EQ(pluginAllocationsPerTick(), 0);
    host.setFreeplay(true);
    set("kickmark", "1");
    host.setBall(false);
    EXPECT_EQ(pluginAllocationsPerTick(), 0);
}

TEST_F(TickAllocation, none_for_a_sample_without_a_strike) {
    EXPECT_EQ(pluginAllocationsPerTick(), 0);
}

TEST_F(TickAllocation, a_recorded_strike_is_counted) {
    // Proves the counter sees the module's allocations at all.
    host.setBallVelocity(3000, 0, 0);
    EXPECT_GT(pluginAllocationsPerTick(), 0);
}

} // namespace
