#include "BakkesModPlugin.h"
#include "Kickmark.h"

using BakkesMod::Plugin::BakkesModPlugin;
using BakkesMod::Plugin::PluginInfo;

// The module's only owner of the plugin object. Empty until the host asks for the plugin;
// static teardown releases an object the host never gave back.
static std::shared_ptr<BakkesModPlugin> pluginInstance;

extern "C" {

// Out of memory leaves the handle empty rather than throwing into a host built apart from
// this module; the host sees an empty handle and can refuse the plugin.
SDK_DLL_EXPORT std::shared_ptr<BakkesModPlugin>* getPlugin() noexcept {
    try {
        if (!pluginInstance)
            pluginInstance = std::shared_ptr<Kickmark>(new Kickmark());
    } catch (...) {
    }
    return &pluginInstance;
}

// Releasing cannot throw: every destructor involved is noexcept.
SDK_DLL_EXPORT void deleteMe() noexcept {
    pluginInstance.reset();
}

SDK_DLL_EXPORT PluginInfo exports = {
    BAKKESMOD_PLUGIN_API_VERSION,
    KICKMARK_MAIN_SOURCE,
    "Kickmark",
    "Kickmark plugin",
    KICKMARK_VERSION,
    BakkesMod::Plugin::PLUGINTYPE_FREEPLAY,
    &getPlugin,
    &deleteMe,
};

} // extern "C"
