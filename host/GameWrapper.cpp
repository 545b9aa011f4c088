#include "wrappers/GameWrapper.h"

#include "HostContext.h"

GameWrapper::GameWrapper(pluginsdk::HostContext* host, pluginsdk::OwnerId owner)
    : host_(host), owner_(owner) {}

void GameWrapper::HookEvent(std::string eventName, EventCallback callback) {
    PLUGINSDK_RECORD_CALL(host_, HookEvent);
    if (callback)
        host_->hooks.push_back({owner_, std::move(eventName), std::move(callback)});
}

void GameWrapper::UnhookEvent(std::string eventName) {
    PLUGINSDK_RECORD_CALL(host_, UnhookEvent);
    host_->unhook(owner_, eventName);
}

bool GameWrapper::IsInFreeplay() {
    PLUGINSDK_RECORD_CALL(host_, IsInFreeplay);
    return host_->freeplay;
}

ServerWrapper GameWrapper::GetGameEventAsServer() {
    PLUGINSDK_RECORD_CALL(host_, GetGameEventAsServer);
    return ServerWrapper(host_, host_->hasMatch ? &host_->match : nullptr);
}

void GameWrapper::LogToChatbox(std::string text, std::string sender) {
    PLUGINSDK_RECORD_CALL(host_, LogToChatbox);
    host_->chat.push_back({std::move(sender), std::move(text)});
}

std::wstring GameWrapper::GetDataFolderW() {
    PLUGINSDK_RECORD_CALL(host_, GetDataFolderW);
    return host_->dataFolder;
}
