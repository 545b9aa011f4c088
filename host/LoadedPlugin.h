#pragma once

#include <filesystem>
#include <memory>

#include "Host.h"
#include "HostContext.h"
#include "Module.h"

namespace pluginsdk {

// The plugin a host has loaded, with the module that holds its code.
struct Host::Loaded {
    explicit Loaded(const std::filesystem::path& path) : path(path), module(path) {}

    std::filesystem::path path;
    Module module; // declared before the plugin: the module's code must outlive the object
    const BakkesMod::Plugin::PluginInfo* info = nullptr;
    std::shared_ptr<BakkesMod::Plugin::BakkesModPlugin> plugin;
    OwnerId owner = 0;
};

} // namespace pluginsdk
