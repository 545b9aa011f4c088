#include "HostProbe.h"

#include "HostContext.h"
#include "LoadedPlugin.h"

namespace pluginsdk {

BakkesMod::Plugin::BakkesModPlugin* HostProbe::plugin() const {
    return host_.loaded_ ? host_.loaded_->plugin.get() : nullptr;
}

std::size_t HostProbe::hookCount(std::string_view event) const {
    std::size_t count = 0;
    for (const auto& hook : host_.context_->hooks)
        count += !hook.removed && hook.event == event;
    return count;
}

std::uint64_t HostProbe::calls(HostCall call) const {
    return host_.context_->calls.counts[static_cast<std::size_t>(call)];
}

void HostProbe::resetCalls() {
    host_.context_->calls.counts.fill(0);
    host_.context_->calls.log.clear();
}

void HostProbe::logCalls(bool on) {
    host_.context_->calls.logging = on;
}

const std::vector<HostCall>& HostProbe::callLog() const {
    return host_.context_->calls.log;
}

CVarManagerWrapper::Notifier HostProbe::pluginCommand(std::string_view name) const {
    const auto* command = host_.context_->findCommand(name);
    if (!host_.loaded_ || !command || command->owner != host_.loaded_->owner)
        return {};
    return command->callback;
}

std::function<void(std::string)> HostProbe::pluginValueChanged(std::string_view variable) const {
    auto* context = host_.context_.get();
    const auto* found = context->findVariable(variable);
    if (!host_.loaded_ || !found)
        return {};
    for (const auto& handler : found->handlers)
        if (handler.owner == host_.loaded_->owner)
            return [callback = handler.callback,
                    cvar = CVarWrapper(context, handler.owner, found->id)](std::string oldValue) {
                callback(std::move(oldValue), cvar);
            };
    return {};
}

GameWrapper::EventCallback HostProbe::pluginHook(std::string_view event) const {
    if (!host_.loaded_)
        return {};
    for (const auto& hook : host_.context_->hooks)
        if (hook.owner == host_.loaded_->owner && !hook.removed && hook.event == event)
            return hook.callback;
    return {};
}

} // namespace pluginsdk
