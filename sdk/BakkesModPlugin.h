#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "sdk_export.h"
#include "wrappers/CVarManagerWrapper.h"
#include "wrappers/GameWrapper.h"

// The interface version the host accepts in a module's PluginInfo.
#define BAKKESMOD_PLUGIN_API_VERSION 95

namespace BakkesMod::Plugin {

// Base of every plugin. The host fills both handles before it calls onLoad. The
// destructor is deliberately not virtual: the host owns plugins only through a shared
// handle whose deleter knows the concrete class. Special members are defined out of line
// so that they are compiled into, and exported from, the plugin module.
class BAKKESMOD_PLUGIN_API BakkesModPlugin {
public:
    BakkesModPlugin();
    BakkesModPlugin(const BakkesModPlugin& other);
    BakkesModPlugin(BakkesModPlugin&& other) noexcept;
    ~BakkesModPlugin();
    BakkesModPlugin& operator=(const BakkesModPlugin& other);
    BakkesModPlugin& operator=(BakkesModPlugin&& other) noexcept;

    virtual void onLoad();
    virtual void onUnload();

    std::shared_ptr<CVarManagerWrapper> cvarManager;
    std::shared_ptr<GameWrapper> gameWrapper;
};

enum PLUGINTYPE : std::uint32_t {
    PLUGINTYPE_FREEPLAY = 0x01,
};

using GetPluginFn = std::shared_ptr<BakkesModPlugin>* (*)();
using DeletePluginFn = void (*)();

// The record a module exports under the name "exports". Its layout is read by the host
// byte for byte: eight 8-byte slots.
struct PluginInfo {
    std::uint32_t apiBuildVersion;
    const char* fileName;
    const char* className;
    const char* pluginName;
    const char* pluginVersion;
    std::uint32_t pluginType;
    GetPluginFn initializeFunc;
    DeletePluginFn deleteFunc;
};

static_assert(sizeof(void*) == 8, "plugin modules are 64-bit");
static_assert(sizeof(PluginInfo) == 64);
static_assert(offsetof(PluginInfo, apiBuildVersion) == 0);
static_assert(offsetof(PluginInfo, fileName) == 8);
static_assert(offsetof(PluginInfo, className) == 16);
static_assert(offsetof(PluginInfo, pluginName) == 24);
static_assert(offsetof(PluginInfo, pluginVersion) == 32);
static_assert(offsetof(PluginInfo, pluginType) == 40);
static_assert(offsetof(PluginInfo, initializeFunc) == 48);
static_assert(offsetof(PluginInfo, deleteFunc) == 56);

} // namespace BakkesMod::Plugin
