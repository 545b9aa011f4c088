// A hook, a command or a value-changed handler may unload or reload the plugin through the
// host's public interface. The raise, command or change that called it still holds the
// plugin's callbacks, so the module must outlive it; releasing it earlier crashes on the way out.
#include <gtest/gtest.h>

#include <utility>

#include "Console.h"
#include "PluginHost.h"

namespace {

void strikeWouldBeAnnounced(PluginHost& loaded) {
    loaded.set("kickmark", "1");
    loaded.ball(0.0f, 0.0f, 0.0f);
    loaded.host.setBallVelocity(3000.0f, 0.0f, 0.0f);
}

TEST(UnloadInCallback, a_hook_that_unloads_lets_the_raise_finish_and_nothing_reaches_the_plugin) {
    pluginsdk::Host host;
    const pluginsdk::HostProbe probe(host);
    // The host's hook comes first, so the plugin's hook is still ahead in the same raise.
    int hostTicks = 0;
    host.gameWrapper()->HookEvent(kickmark::tickEvent, [&](std::string) {
        if (++hostTicks == 2)
            host.unloadPlugin();
    });
    host.loadPlugin(PluginHost::modulePath());
    ASSERT_EQ(host.setVariable("kickmark", "1"), pluginsdk::SetResult::done);
    host.setBallVelocity(0.0f, 0.0f, 0.0f);
    host.raiseEvent(kickmark::tickEvent);
    host.setBallVelocity(3000.0f, 0.0f, 0.0f);
    host.raiseEvent(kickmark::tickEvent);

    EXPECT_FALSE(host.pluginLoaded());
    EXPECT_TRUE(host.chat().empty()); // the strike happened after the unload
    EXPECT_EQ(probe.hookCount(kickmark::tickEvent), 1u);
    host.raiseEvent(kickmark::tickEvent);
    EXPECT_EQ(hostTicks, 3);
    EXPECT_FALSE(host.command(kickmark::saveCommand));
}

TEST(UnloadInCallback, a_hook_that_reloads_gets_a_fresh_plugin_that_works) {
    PluginHost loaded;
    auto& host = loaded.host;
    const auto& probe = loaded.probe;
    bool reload = false;
    host.gameWrapper()->HookEvent(kickmark::tickEvent, [&](std::string) {
        if (std::exchange(reload, false)) {
            host.unloadPlugin();
            host.loadPlugin(PluginHost::modulePath());
        }
    });
    strikeWouldBeAnnounced(loaded);
    reload = true;
    host.raiseEvent(kickmark::tickEvent);

    ASSERT_TRUE(host.pluginLoaded());
    EXPECT_EQ(host.variable("kickmark")->value, "0");
    EXPECT_EQ(probe.hookCount(kickmark::tickEvent), 1u); // only the host's own
    // The old plugin's hook came after the host's: unloaded, it saw no strike.
    EXPECT_TRUE(host.chat().empty());
    strikeWouldBeAnnounced(loaded);
    host.raiseEvent(kickmark::tickEvent);
    EXPECT_EQ(loaded.chatTexts(), std::vector<std::string>{"1 Shot speed: 3000.00"});
}

TEST(UnloadInCallback, a_command_or_a_value_handler_that_unloads_or_reloads_finishes_first) {
    PluginHost loaded;
    auto& host = loaded.host;
    const auto& probe = loaded.probe;
    host.cvarManager()->registerNotifier(
        "reload_now",
        [&](std::vector<std::string>) {
            host.unloadPlugin();
            host.loadPlugin(PluginHost::modulePath());
        },
        "", 0);
    strikeWouldBeAnnounced(loaded);
    loaded.run({"reload_now"});
    ASSERT_TRUE(host.pluginLoaded());
    EXPECT_EQ(host.variable("kickmark")->value, "0");
    EXPECT_EQ(probe.hookCount(kickmark::tickEvent), 0u);

    // The plugin's own handler of the variable runs first and hooks the tick; the host's
    // handler then unloads. The copy of the handlers still holds the plugin's until the
    // change is done.
    host.cvarManager()->getCvar("kickmark").addOnValueChanged([&](std::string, CVarWrapper) {
        host.unloadPlugin();
    });
    ASSERT_EQ(host.setVariable("kickmark", "1"), pluginsdk::SetResult::done);
    EXPECT_FALSE(host.pluginLoaded());
    EXPECT_EQ(probe.hookCount(kickmark::tickEvent), 0u);
    EXPECT_FALSE(host.variable("kickmark"));
    host.raiseEvent(kickmark::tickEvent);

    host.loadPlugin(PluginHost::modulePath());
    loaded.set("kickmark", "1");
    EXPECT_EQ(probe.hookCount(kickmark::tickEvent), 1u);
}

} // namespace
