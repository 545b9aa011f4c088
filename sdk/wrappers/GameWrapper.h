#pragma once

#include <functional>
#include <string>

#include "../sdk_export.h"
#include "OpaqueHostTypes.h"
#include "ServerWrapper.h"

class PLUGINSDK_API GameWrapper {
public:
    using EventCallback = std::function<void(std::string eventName)>;

    GameWrapper(pluginsdk::HostContext* host, pluginsdk::OwnerId owner);

    // Each call adds a callback; the host does not merge repeated hooks of one event.
    void HookEvent(std::string eventName, EventCallback callback);
    // Removes every callback this plugin hooked to the event.
    void UnhookEvent(std::string eventName);

    bool IsInFreeplay();
    ServerWrapper GetGameEventAsServer();
    void LogToChatbox(std::string text, std::string sender = "BAKKESMOD");
    std::wstring GetDataFolderW();

private:
    pluginsdk::HostContext* host_;
    pluginsdk::OwnerId owner_;
};
