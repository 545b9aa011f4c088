#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "BakkesModPlugin.h"
#include "Host.h"
#include "HostCall.h"

namespace pluginsdk {

// What tests see inside a host beyond what a host offers: the calls a plugin made, the
// plugin object itself and its callbacks. It works on the tests' build of the host library only,
// which records the calls and lets it in; the library that ships knows nothing of it.
class HostProbe {
public:
    explicit HostProbe(Host& host) : host_(host) {}

    // The loaded plugin object; null when none is loaded.
    BakkesMod::Plugin::BakkesModPlugin* plugin() const;
    // The live hooks of one event, the host's own included.
    std::size_t hookCount(std::string_view event) const;

    std::uint64_t calls(HostCall call) const;
    // Zeroes the counts and empties the log.
    void resetCalls();
    // From now on (or no longer) every call is also logged in order, for tests of sequence.
    void logCalls(bool on);
    const std::vector<HostCall>& callLog() const;

    // The loaded plugin's callbacks, bound and ready to call without the host allocating on
    // the way: for tests that control every allocation. Empty when there is none.
    CVarManagerWrapper::Notifier pluginCommand(std::string_view name) const;
    std::function<void(std::string oldValue)> pluginValueChanged(std::string_view variable) const;
    GameWrapper::EventCallback pluginHook(std::string_view event) const;

private:
    Host& host_;
};

} // namespace pluginsdk
