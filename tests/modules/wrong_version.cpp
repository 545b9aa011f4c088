#include "BakkesModPlugin.h"

using BakkesMod::Plugin::PluginInfo;

extern "C" {
SDK_DLL_EXPORT PluginInfo exports = {94, __FILE__, "Old", "Old plugin", "0.1", 1, nullptr, nullptr};
}
