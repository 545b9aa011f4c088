#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "BakkesModPlugin.h"
#include "ChatLine.h"
#include "RBState.h"
#include "sdk_export.h"

namespace pluginsdk {

struct HostContext;

struct VariableInfo {
    std::string name;
    std::string defaultValue;
    std::string description;
    bool searchable;
    bool hasMin;
    float min;
    bool hasMax;
    float max;
    bool saveToCfg;
    std::string value;
};

struct CommandInfo {
    std::string name;
    std::string description;
    unsigned char permissions;
};

enum class SetResult { done, unknownVariable, notANumber };

// A host for one plugin module at a time, with the game, console and chat box the module
// talks to. Everything runs on the caller's thread.
class PLUGINSDK_API Host {
public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Opens the module, checks its "exports" record, creates the plugin, hands it this
    // host's wrappers and calls onLoad. Throws std::runtime_error naming the path and the
    // reason when the module cannot be loaded or is refused; nothing stays loaded then.
    void loadPlugin(const std::filesystem::path& path);
    // Calls onUnload, removes everything the plugin registered, releases the plugin
    // through deleteMe and closes the module. Does nothing when no plugin is loaded.
    // Called from inside a callback (a hook, a command, a value-changed handler, onLoad),
    // the plugin is unloaded at once but its object and module live until the outermost
    // raise, command or variable change has finished: the host still holds their code.
    // A plugin loaded meanwhile (a reload) is a fresh one.
    void unloadPlugin();
    bool pluginLoaded() const;
    const BakkesMod::Plugin::PluginInfo* pluginInfo() const;

    // The game: free play or another mode, a match or none, a ball or none.
    void setFreeplay(bool freeplay);
    void setMatch(bool present);
    void setBall(bool present);
    void setBallVelocity(float x, float y, float z);
    RBState& ballState();
    void raiseEvent(std::string_view event);

    // The console.
    std::optional<VariableInfo> variable(std::string_view name) const;
    std::optional<CommandInfo> command(std::string_view name) const;
    SetResult setVariable(std::string_view name, std::string_view value);
    // words[0] names the command; the command receives all the words. False when no such
    // command is registered.
    bool runCommand(std::vector<std::string> words);

    const std::vector<ChatLine>& chat() const;
    void clearChat();

    void setDataFolder(std::wstring folder);

    // A game wrapper and a console wrapper of the host's own, as plugins hold theirs; what
    // they register stays across plugin unloads.
    std::shared_ptr<GameWrapper> gameWrapper();
    std::shared_ptr<CVarManagerWrapper> cvarManager();

private:
#ifdef PLUGINSDK_OBSERVED
    // The tests' build of this library lets them look inside; no other build knows of it.
    friend class HostProbe;
#endif
    struct Loaded;
    class CallbackScope;

    void releaseRetiring();

    std::unique_ptr<HostContext> context_;
    std::unique_ptr<Loaded> loaded_;
    // Unloaded from inside a callback; released once the outermost callback returns.
    std::vector<std::unique_ptr<Loaded>> retiring_;
    int callbackDepth_ = 0;
    std::shared_ptr<GameWrapper> hostGame_;
    std::shared_ptr<CVarManagerWrapper> hostConsole_;
    OwnerId nextOwner_ = 1;
};

// The folder of the running program, where the project's modules are built.
PLUGINSDK_API std::filesystem::path executableDirectory();
// The platform's file name of a module beside the running program: NAME.so or NAME.dll.
PLUGINSDK_API std::filesystem::path moduleBesideExecutable(std::string_view name);

} // namespace pluginsdk
