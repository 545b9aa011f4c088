#include "BakkesModPlugin.h"

#include <utility>

namespace BakkesMod::Plugin {

BakkesModPlugin::BakkesModPlugin() = default;

BakkesModPlugin::BakkesModPlugin(const BakkesModPlugin& other)
    : cvarManager(other.cvarManager), gameWrapper(other.gameWrapper) {}

BakkesModPlugin::BakkesModPlugin(BakkesModPlugin&& other) noexcept
    : cvarManager(std::move(other.cvarManager)), gameWrapper(std::move(other.gameWrapper)) {}

// Members are destroyed in reverse order: gameWrapper is released before cvarManager.
BakkesModPlugin::~BakkesModPlugin() = default;

// shared_ptr assignment installs the new handle before it releases the old one.
BakkesModPlugin& BakkesModPlugin::operator=(const BakkesModPlugin& other) {
    cvarManager = other.cvarManager;
    gameWrapper = other.gameWrapper;
    return *this;
}

BakkesModPlugin& BakkesModPlugin::operator=(BakkesModPlugin&& other) noexcept {
    cvarManager = std::move(other.cvarManager);
    gameWrapper = std::move(other.gameWrapper);
    return *this;
}

void BakkesModPlugin::onLoad() {}

void BakkesModPlugin::onUnload() {}

} // namespace BakkesMod::Plugin
