#pragma once

#include <cstddef>

// Wrappers are copyable handles into the host's own state. The state behind them is
// opaque to plugins: only the host runtime library knows its layout.
namespace pluginsdk {
struct HostContext;
struct ActorState;
struct Variable;
enum class HostCall : std::size_t;
using OwnerId = unsigned long long;
} // namespace pluginsdk
