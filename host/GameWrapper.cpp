#include "wrappers/GameWrapper.h"

#include "HostContext.h"

using pluginsdk::HostCall;

GameWrapper::GameWrapper(pluginsdk::HostContext* host, pluginsdk::OwnerId owner)
    : host_(host), owner_(owner) {}

void GameWrapper::HookEvent(std::string eventName, EventCallback callback) {
    host_->count(HostCall::HookEvent);
    if (callback)
        host_->hooks.push_back({owner_, std::move(eventName), std::move(callback)});
}

void GameWrapper::UnhookEvent(std::string eventName) {
    host_->count(HostCall::UnhookEvent);
    host_->unhook(owner_, eventName);
}

bool GameWrapper::IsInFreeplay() {
    host_->count(HostCall::IsInFreeplay);
    return host_->freeplay;
}

ServerWrapper GameWrapper::GetGameEventAsServer() {
    host_->count(HostCall::GetGameEventAsServer);
    return ServerWrapper(host_, host_->hasMatch ? &host_->match : nullptr);
}

void GameWrapper::LogToChatbox(std::string text, std::string sender) {
    host_->count(HostCall::LogToChatbox);
    host_->chat.push_back({std::move(sender), std::move(text)});
}

std::wstring GameWrapper::GetDataFolderW() {
    host_->count(HostCall::GetDataFolderW);
    return host_->dataFolder;
}
