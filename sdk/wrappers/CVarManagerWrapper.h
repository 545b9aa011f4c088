#pragma once

#include <functional>
#include <string>
#include <vector>

#include "CVarWrapper.h"

class PLUGINSDK_API CVarManagerWrapper {
public:
    using Notifier = std::function<void(std::vector<std::string> arguments)>;

    CVarManagerWrapper(pluginsdk::HostContext* host, pluginsdk::OwnerId owner);

    // Registering a name that exists returns the existing variable unchanged.
    CVarWrapper registerCvar(std::string name, std::string defaultValue,
                             std::string description = "", bool searchable = true,
                             bool hasMin = false, float min = 0.0f, bool hasMax = false,
                             float max = 0.0f, bool saveToCfg = true);
    CVarWrapper getCvar(std::string name);

    // The callback receives the whole command line split into words, the name first.
    void registerNotifier(std::string name, Notifier callback, std::string description,
                          unsigned char permissions);

private:
    pluginsdk::HostContext* host_;
    pluginsdk::OwnerId owner_;
};
