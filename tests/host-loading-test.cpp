// How the stand-in host loads modules and refuses what it cannot load.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "Host.h"
#include "PluginHost.h"

using testing::AllOf;
using testing::HasSubstr;

namespace {

std::string loadError(pluginsdk::Host& host, const std::filesystem::path& path) {
    try {
        host.loadPlugin(path);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

#if defined(_WIN32)
constexpr const char* sdkLibrary = "pluginsdk.dll";
#else
constexpr const char* sdkLibrary = "libpluginsdk.so";
#endif

TEST(HostLoading, refuses_what_is_not_a_loadable_plugin_and_then_loads_the_real_one) {
    pluginsdk::Host host;
    const auto folder = pluginsdk::executableDirectory();

    EXPECT_THAT(loadError(host, folder / "no-such-module.so"),
                AllOf(HasSubstr("cannot load plugin"), HasSubstr("no-such-module.so")));
    EXPECT_THAT(loadError(host, folder / sdkLibrary),
                AllOf(HasSubstr(sdkLibrary), HasSubstr("is not a plugin")));
    EXPECT_THAT(
        loadError(host, pluginsdk::moduleBesideExecutable("wrong-version")),
        AllOf(HasSubstr("wrong-version"), HasSubstr("interface version 94"), HasSubstr("95")));
    EXPECT_FALSE(host.pluginLoaded());

    host.loadPlugin(PluginHost::modulePath());
    EXPECT_TRUE(host.pluginLoaded());
    EXPECT_THAT(loadError(host, PluginHost::modulePath()), HasSubstr("unload it first"));
    EXPECT_TRUE(host.variable("kickmark"));
}

TEST(HostLoading, hands_the_plugin_its_wrappers_before_onLoad) {
    pluginsdk::Host host;
    const pluginsdk::HostProbe probe(host);
    host.loadPlugin(PluginHost::modulePath());
    EXPECT_TRUE(probe.plugin()->cvarManager);
    EXPECT_TRUE(probe.plugin()->gameWrapper);
    EXPECT_EQ(probe.calls(pluginsdk::HostCall::registerCvar), 2u);
}

} // namespace
