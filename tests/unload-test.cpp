// Once the plugin is unloaded nothing it registered may reach it.
#include <gtest/gtest.h>

#include "Console.h"
#include "PluginHost.h"

namespace {

TEST(Unload, nothing_the_plugin_registered_outlives_it) {
    PluginHost loaded;
    auto& host = loaded.host;
    const auto& probe = loaded.probe;
    int hostTicks = 0;
    host.gameWrapper()->HookEvent(kickmark::tickEvent, [&](std::string) { ++hostTicks; });
    loaded.set("kickmark", "1");
    ASSERT_EQ(probe.hookCount(kickmark::tickEvent), 2u);

    host.unloadPlugin();

    EXPECT_FALSE(host.pluginLoaded());
    EXPECT_EQ(probe.plugin(), nullptr);
    host.raiseEvent(kickmark::tickEvent);
    EXPECT_EQ(hostTicks, 1); // the host's own hook stays
    EXPECT_EQ(probe.hookCount(kickmark::tickEvent), 1u);
    EXPECT_FALSE(host.runCommand({"kickmark_reset"}));
    EXPECT_FALSE(host.runCommand({"kickmark_save"}));
    EXPECT_EQ(host.setVariable("kickmark", "0"), pluginsdk::SetResult::unknownVariable);
    EXPECT_EQ(host.setVariable("kickmark_minspeed", "1"), pluginsdk::SetResult::unknownVariable);
    EXPECT_FALSE(host.variable("kickmark"));
    EXPECT_FALSE(host.command("kickmark_save"));
}

TEST(Unload, a_reloaded_plugin_starts_afresh) {
    PluginHost loaded;
    loaded.set("kickmark", "1");
    loaded.set("kickmark_minspeed", "3000");
    loaded.host.unloadPlugin();
    loaded.host.loadPlugin(PluginHost::modulePath());

    EXPECT_EQ(loaded.host.variable("kickmark")->value, "0");
    EXPECT_EQ(loaded.host.variable("kickmark_minspeed")->value, "1000");
    EXPECT_EQ(loaded.probe.hookCount(kickmark::tickEvent), 0u);
    EXPECT_EQ(loaded.plugin().lastHorizontalSpeedSq, -1.0f);
}

} // namespace
