#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ChatLine.h"
#include "RBState.h"
#include "wrappers/CVarManagerWrapper.h"
#include "wrappers/GameWrapper.h"

// Only the tests' build of this library (PLUGINSDK_OBSERVED) records the calls plugins make;
// in any other build a call leaves no trace.
#ifdef PLUGINSDK_OBSERVED
#include "HostCall.h"
#define PLUGINSDK_RECORD_CALL(host, call)                                                          \
    ((host) ? (host)->calls.note(pluginsdk::HostCall::call) : void())
#else
#define PLUGINSDK_RECORD_CALL(host, call) static_cast<void>(host)
#endif

namespace pluginsdk {

// The host itself registers under this owner; plugins get ids from 1 up.
inline constexpr OwnerId hostOwner = 0;

struct ActorState {
    RBState state;
};

struct Variable {
    unsigned long long id = 0;
    OwnerId owner = hostOwner;
    std::string name;
    std::string defaultValue;
    std::string description;
    bool searchable = true;
    bool hasMin = false;
    float min = 0.0f;
    bool hasMax = false;
    float max = 0.0f;
    bool saveToCfg = true;
    std::string value;

    template <typename T> struct Binding {
        OwnerId owner;
        std::shared_ptr<T> cell;
    };
    std::vector<Binding<bool>> boolCells;
    std::vector<Binding<float>> floatCells;

    struct Handler {
        OwnerId owner;
        CVarWrapper::ValueChanged callback;
    };
    std::vector<Handler> handlers;

    // A variable with a range holds numbers only.
    bool numeric() const { return hasMin || hasMax; }
    // The value read as a number; text that is not one reads as 0.
    float number() const;
    // The value read as a switch: any number but 0 is on.
    bool flag() const { return number() != 0.0f; }
};

struct Command {
    OwnerId owner = hostOwner;
    std::string name;
    std::string description;
    unsigned char permissions = 0;
    CVarManagerWrapper::Notifier callback;
};

struct Hook {
    OwnerId owner = hostOwner;
    std::string event;
    GameWrapper::EventCallback callback;
    bool removed = false;
};

struct HostContext {
#ifdef PLUGINSDK_OBSERVED
    CallRecord calls;
#endif

    bool freeplay = true;
    bool hasMatch = true;
    bool hasBall = true;
    ActorState match;
    ActorState ball;

    std::wstring dataFolder;
    std::vector<ChatLine> chat;

    std::vector<std::unique_ptr<Variable>> variables;
    std::vector<Command> commands;
    std::deque<Hook> hooks; // a deque keeps a running callback in place while others are added
    int raising = 0;
    unsigned long long nextVariableId = 1;

    // Defined here, so that test programs can look things up without the library exporting it.
    Variable* findVariable(std::string_view name) {
        for (auto& variable : variables)
            if (variable->name == name)
                return variable.get();
        return nullptr;
    }
    Variable* findVariable(unsigned long long id) {
        for (auto& variable : variables)
            if (variable->id == id)
                return variable.get();
        return nullptr;
    }
    Command* findCommand(std::string_view name) {
        for (auto& command : commands)
            if (command.name == name)
                return &command;
        return nullptr;
    }

    // Sets the text (clamped when the variable is numeric), updates bound cells and runs
    // the value-changed handlers. Returns false, changing nothing, when a numeric
    // variable is given text that is not a number.
    bool setVariable(Variable& variable, std::string_view text);

    void raise(std::string_view event);
    // Removes the owner's hooks of one event, or of every event. While an event is being
    // raised the hooks are only marked, and go once it has been raised.
    void unhook(OwnerId owner, std::optional<std::string_view> event = std::nullopt);

    // Drops every variable, binding, handler, command and hook the owner registered.
    void removeOwner(OwnerId owner);
};

} // namespace pluginsdk
