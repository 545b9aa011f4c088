#include "Host.h"

#include <stdexcept>

#include "HostContext.h"
#include "LoadedPlugin.h"
#include "PathText.h"

namespace pluginsdk {

using BakkesMod::Plugin::BakkesModPlugin;
using BakkesMod::Plugin::PluginInfo;

// Marks the host as running plugin code; the outermost scope releases what was unloaded
// meanwhile. Declared before any copy of a callback, so that the copy goes first.
class Host::CallbackScope {
public:
    explicit CallbackScope(Host& host) : host_(host) { ++host_.callbackDepth_; }
    ~CallbackScope() {
        if (--host_.callbackDepth_ == 0)
            host_.releaseRetiring();
    }
    CallbackScope(const CallbackScope&) = delete;
    CallbackScope& operator=(const CallbackScope&) = delete;

private:
    Host& host_;
};

Host::Host()
    : context_(std::make_unique<HostContext>()),
      hostGame_(std::make_shared<GameWrapper>(context_.get(), hostOwner)),
      hostConsole_(std::make_shared<CVarManagerWrapper>(context_.get(), hostOwner)) {}

Host::~Host() {
    unloadPlugin();
}

void Host::releaseRetiring() {
    auto retiring = std::move(retiring_);
    // Whatever the unloaded plugin registered while its callback finished goes too.
    for (const auto& loaded : retiring)
        context_->removeOwner(loaded->owner);
}

void Host::loadPlugin(const std::filesystem::path& path) {
    if (loaded_)
        throw std::runtime_error("cannot load plugin " + kickmark::text::visiblePath(path) + ": " +
                                 kickmark::text::visiblePath(loaded_->path) +
                                 " is loaded; unload it first");
    auto loaded = std::make_unique<Loaded>(path);
    const auto name = kickmark::text::visiblePath(path);
    const auto* info = static_cast<const PluginInfo*>(loaded->module.symbol("exports"));
    if (!info)
        throw std::runtime_error(name + " is not a plugin: it exports no \"exports\" record");
    if (info->apiBuildVersion != BAKKESMOD_PLUGIN_API_VERSION)
        throw std::runtime_error(name + " is refused: plugin interface version " +
                                 std::to_string(info->apiBuildVersion) + ", this host loads " +
                                 std::to_string(BAKKESMOD_PLUGIN_API_VERSION));
    if (!info->initializeFunc || !info->deleteFunc)
        throw std::runtime_error(name + " is not a plugin: its \"exports\" record has no "
                                        "getPlugin or deleteMe");
    auto* slot = info->initializeFunc();
    if (!slot || !*slot) {
        info->deleteFunc();
        throw std::runtime_error(name + " is not a plugin: getPlugin gave no plugin object");
    }
    loaded->info = info;
    loaded->plugin = *slot;
    loaded->owner = nextOwner_++;
    loaded->plugin->cvarManager =
        std::make_shared<CVarManagerWrapper>(context_.get(), loaded->owner);
    loaded->plugin->gameWrapper = std::make_shared<GameWrapper>(context_.get(), loaded->owner);
    loaded_ = std::move(loaded);
    CallbackScope scope(*this);
    loaded_->plugin->onLoad();
}

void Host::unloadPlugin() {
    if (!loaded_)
        return;
    auto loaded = std::move(loaded_);
    loaded->plugin->onUnload();
    // Nothing the plugin registered may reach the object once it is gone.
    context_->removeOwner(loaded->owner);
    // The module lets go of its object now, so that a reload gets a fresh one; this host's
    // reference keeps it alive while a callback of it may still be running.
    loaded->info->deleteFunc();
    if (callbackDepth_ > 0)
        retiring_.push_back(std::move(loaded));
}

bool Host::pluginLoaded() const {
    return loaded_ != nullptr;
}

const PluginInfo* Host::pluginInfo() const {
    return loaded_ ? loaded_->info : nullptr;
}

void Host::setFreeplay(bool freeplay) {
    context_->freeplay = freeplay;
}
void Host::setMatch(bool present) {
    context_->hasMatch = present;
}
void Host::setBall(bool present) {
    context_->hasBall = present;
}

void Host::setBallVelocity(float x, float y, float z) {
    context_->ball.state.LinearVelocity = {x, y, z};
}

RBState& Host::ballState() {
    return context_->ball.state;
}

void Host::raiseEvent(std::string_view event) {
    CallbackScope scope(*this);
    context_->raise(event);
}

std::optional<VariableInfo> Host::variable(std::string_view name) const {
    const auto* v = context_->findVariable(name);
    if (!v)
        return std::nullopt;
    return VariableInfo{v->name, v->defaultValue, v->description, v->searchable, v->hasMin,
                        v->min,  v->hasMax,       v->max,         v->saveToCfg,  v->value};
}

std::optional<CommandInfo> Host::command(std::string_view name) const {
    const auto* c = context_->findCommand(name);
    if (!c)
        return std::nullopt;
    return CommandInfo{c->name, c->description, c->permissions};
}

SetResult Host::setVariable(std::string_view name, std::string_view value) {
    auto* variable = context_->findVariable(name);
    if (!variable)
        return SetResult::unknownVariable;
    CallbackScope scope(*this);
    return context_->setVariable(*variable, value) ? SetResult::done : SetResult::notANumber;
}

bool Host::runCommand(std::vector<std::string> words) {
    const auto* command = words.empty() ? nullptr : context_->findCommand(words.front());
    if (!command)
        return false;
    CallbackScope scope(*this);
    // A copy: the command may register or remove commands while it runs.
    auto callback = command->callback;
    if (callback)
        callback(std::move(words));
    return true;
}

const std::vector<ChatLine>& Host::chat() const {
    return context_->chat;
}
void Host::clearChat() {
    context_->chat.clear();
}

void Host::setDataFolder(std::wstring folder) {
    context_->dataFolder = std::move(folder);
}

std::shared_ptr<GameWrapper> Host::gameWrapper() {
    return hostGame_;
}

std::shared_ptr<CVarManagerWrapper> Host::cvarManager() {
    return hostConsole_;
}

} // namespace pluginsdk
