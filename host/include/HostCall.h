#pragma once

#include <cstddef>

namespace pluginsdk {

// The host operations a plugin can call, counted one by one so that tests can see which
// queries a code path made.
enum class HostCall : std::size_t {
    registerCvar,
    getCvar,
    registerNotifier,
    bindTo,
    addOnValueChanged,
    getBoolValue,
    HookEvent,
    UnhookEvent,
    IsInFreeplay,
    GetGameEventAsServer,
    GetBall,
    IsNull,
    GetOldRBState,
    LogToChatbox,
    GetDataFolderW,
    count_
};

inline constexpr std::size_t hostCallCount = static_cast<std::size_t>(HostCall::count_);

} // namespace pluginsdk
