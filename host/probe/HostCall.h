#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pluginsdk {

// The host operations a plugin can call, counted one by one by the tests' build of the host
// library so that tests can see which queries a code path made.
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

struct CallRecord {
    std::array<std::uint64_t, hostCallCount> counts{};
    // The calls in order, kept only on request: a log that grows would cost every tick.
    bool logging = false;
    std::vector<HostCall> log;

    void note(HostCall call) {
        ++counts[static_cast<std::size_t>(call)];
        if (logging)
            log.push_back(call);
    }
};

} // namespace pluginsdk
