// What the plugin registers with the host's console, and how it answers the console.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Console.h"
#include "PluginHost.h"

using pluginsdk::HostCall;

namespace {

class ConsoleRegistration : public testing::Test, public PluginHost {};

TEST_F(ConsoleRegistration, variables_carry_their_defaults_ranges_and_stay_out_of_the_config) {
    auto enabled = host.variable("kickmark");
    ASSERT_TRUE(enabled);
    EXPECT_EQ(enabled->defaultValue, "0");
    EXPECT_EQ(enabled->value, "0");
    EXPECT_EQ(enabled->description, "Turns on the measurement.");
    EXPECT_TRUE(enabled->searchable);
    EXPECT_TRUE(enabled->hasMin && enabled->hasMax);
    EXPECT_EQ(enabled->min, 0.0f);
    EXPECT_EQ(enabled->max, 1.0f);
    EXPECT_FALSE(enabled->saveToCfg);

    auto minSpeed = host.variable("kickmark_minspeed");
    ASSERT_TRUE(minSpeed);
    EXPECT_EQ(minSpeed->defaultValue, "1000");
    EXPECT_EQ(minSpeed->description, "The minimum speed that is needed to trigger a log.");
    EXPECT_TRUE(minSpeed->searchable);
    EXPECT_TRUE(minSpeed->hasMin && minSpeed->hasMax);
    EXPECT_EQ(minSpeed->min, 0.0f);
    EXPECT_EQ(minSpeed->max, 6000.0f);
    EXPECT_FALSE(minSpeed->saveToCfg);
}

TEST_F(ConsoleRegistration, commands_carry_their_descriptions) {
    auto reset = host.command("kickmark_reset");
    ASSERT_TRUE(reset);
    EXPECT_EQ(reset->description, "Reset the measurements.");
    EXPECT_EQ(reset->permissions, 0);
    auto save = host.command("kickmark_save");
    ASSERT_TRUE(save);
    EXPECT_EQ(save->description, "Save the measurements to BakkesModFolder/data/shots.csv");
    EXPECT_EQ(save->permissions, 0);
}

TEST_F(ConsoleRegistration, bound_cells_follow_the_variables_with_clamping) {
    EXPECT_FALSE(*plugin().enabled);
    EXPECT_EQ(*plugin().minSpeed, 1000.0f);

    set("kickmark_minspeed", "7000");
    EXPECT_EQ(host.variable("kickmark_minspeed")->value, "6000");
    EXPECT_EQ(*plugin().minSpeed, 6000.0f);
    set("kickmark_minspeed", "-5");
    EXPECT_EQ(*plugin().minSpeed, 0.0f);
    set("kickmark_minspeed", "1e3");
    EXPECT_EQ(*plugin().minSpeed, 1000.0f);
    EXPECT_EQ(host.setVariable("kickmark_minspeed", "fast"), pluginsdk::SetResult::notANumber);
    EXPECT_EQ(*plugin().minSpeed, 1000.0f);

    set("kickmark", "1");
    EXPECT_TRUE(*plugin().enabled);
    set("kickmark", "5");
    EXPECT_EQ(host.variable("kickmark")->value, "1");
}

TEST_F(ConsoleRegistration, text_that_is_not_a_number_changes_nothing_and_keeps_the_list) {
    set("kickmark", "1");
    set("kickmark_minspeed", "1500");
    ball(0, 0, 0);
    ball(2000, 0, 0);

    for (const char* text : {"on", "", "nan", "-nan", "1e99", "1,5", "0x10", " 1", "1 "}) {
        EXPECT_EQ(host.setVariable("kickmark", text), pluginsdk::SetResult::notANumber) << text;
        EXPECT_EQ(host.setVariable("kickmark_minspeed", text), pluginsdk::SetResult::notANumber)
            << text;
    }

    EXPECT_EQ(host.variable("kickmark")->value, "1");
    EXPECT_EQ(host.variable("kickmark_minspeed")->value, "1500");
    EXPECT_TRUE(*plugin().enabled);
    EXPECT_EQ(*plugin().minSpeed, 1500.0f);
    EXPECT_EQ(probe.hookCount(kickmark::tickEvent), 1u);
    EXPECT_THAT(plugin().measurements, testing::ElementsAre(2000.0f));
}

TEST_F(ConsoleRegistration, repeated_changes_to_on_keep_one_hook_and_every_change_to_off_unhooks) {
    int hostTicks = 0;
    host.gameWrapper()->HookEvent(kickmark::tickEvent, [&](std::string) { ++hostTicks; });
    for (int i = 0; i < 1000; ++i)
        set("kickmark", "1");
    EXPECT_EQ(probe.calls(HostCall::HookEvent), 1001u); // the host's own hook is the first
    EXPECT_EQ(probe.hookCount(kickmark::tickEvent), 2u);
    ball(0, 0, 0);
    ball(2000, 0, 0);
    EXPECT_THAT(chatTexts(), testing::ElementsAre("1 Shot speed: 2000.00"));
    EXPECT_EQ(hostTicks, 2);

    set("kickmark", "0");
    set("kickmark", "0");
    EXPECT_EQ(probe.calls(HostCall::UnhookEvent), 1002u);
    EXPECT_EQ(probe.hookCount(kickmark::tickEvent), 1u); // the host's own stays
    EXPECT_EQ(probe.calls(HostCall::getBoolValue), 1002u);
}

TEST_F(ConsoleRegistration, reset_empties_the_list_and_keeps_the_previous_sample) {
    run({"kickmark_reset"});
    EXPECT_TRUE(plugin().measurements.empty());

    plugin().measurements = {1500.0f, 2500.0f};
    plugin().lastHorizontalSpeedSq = 9.0f;
    run({"kickmark_reset", "ignored", "words"});
    EXPECT_TRUE(plugin().measurements.empty());
    EXPECT_EQ(plugin().lastHorizontalSpeedSq, 9.0f);
    EXPECT_TRUE(host.chat().empty());
}

TEST_F(ConsoleRegistration, onLoad_registers_in_order_and_onUnload_calls_nothing) {
    probe.logCalls(true);
    probe.resetCalls();
    plugin().onLoad();
    // The enabled variable is looked up again before its change handler goes on.
    EXPECT_THAT(probe.callLog(),
                testing::ElementsAre(HostCall::registerCvar, HostCall::bindTo, HostCall::getCvar,
                                     HostCall::addOnValueChanged, HostCall::registerCvar,
                                     HostCall::bindTo, HostCall::registerNotifier,
                                     HostCall::registerNotifier));
    probe.resetCalls();
    plugin().onUnload();
    EXPECT_THAT(probe.callLog(), testing::IsEmpty());
}

TEST_F(ConsoleRegistration, a_second_onLoad_replaces_both_cells_and_registers_again) {
    const auto* oldEnabled = plugin().enabled.get();
    const auto* oldMinSpeed = plugin().minSpeed.get();
    probe.resetCalls();

    plugin().onLoad();

    EXPECT_NE(plugin().enabled.get(), oldEnabled);
    EXPECT_NE(plugin().minSpeed.get(), oldMinSpeed);
    EXPECT_FALSE(*plugin().enabled);
    EXPECT_EQ(*plugin().minSpeed, 1000.0f);
    EXPECT_EQ(probe.calls(HostCall::registerCvar), 2u);
    EXPECT_EQ(probe.calls(HostCall::registerNotifier), 2u);
    EXPECT_EQ(probe.calls(HostCall::bindTo), 2u);
    EXPECT_EQ(probe.calls(HostCall::addOnValueChanged), 1u);

    // Both cells, old and new, now follow the variable.
    set("kickmark_minspeed", "2000");
    EXPECT_EQ(*plugin().minSpeed, 2000.0f);
}

} // namespace
