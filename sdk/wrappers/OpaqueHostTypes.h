#pragma once

// Wrappers are copyable handles into the host's own state. The state behind them is
// opaque to plugins: only the host runtime library knows its layout.
namespace pluginsdk {
struct HostContext;
struct ActorState;
struct Variable;
using OwnerId = unsigned long long;
} // namespace pluginsdk
