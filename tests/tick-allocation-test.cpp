// A tick that records nothing must not touch the heap: it runs on every game tick.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "Console.h"
#include "PluginHost.h"

namespace {

// Counted for the whole process, the module's allocations included: on Linux the module
// shares this program's operator new.
std::size_t allocations = 0;

} // namespace

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

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
        const auto before = allocations;
        host.raiseEvent(kickmark::tickEvent);
        const auto plugin = static_cast<std::ptrdiff_t>(allocations - before);

        set("kickmark", "0");
        auto hook = host.gameWrapper();
        hook->HookEvent(kickmark::tickEvent, [](std::string) {});
        const auto baseBefore = allocations;
        host.raiseEvent(kickmark::tickEvent);
        const auto base = static_cast<std::ptrdiff_t>(allocations - baseBefore);
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
