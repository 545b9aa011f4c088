#include "HostContext.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "NumberText.h"

namespace pluginsdk {

using kickmark::text::parseFloat;

float Variable::number() const {
    return parseFloat(value).value_or(0.0f);
}

bool HostContext::setVariable(Variable& variable, std::string_view text) {
    std::string newValue(text);
    if (variable.numeric()) {
        auto number = parseFloat(text);
        if (!number || std::isnan(*number))
            return false;
        float clamped = *number;
        if (variable.hasMin)
            clamped = std::max(clamped, variable.min);
        if (variable.hasMax)
            clamped = std::min(clamped, variable.max);
        // -0 is a number of its own only in formatting: show it as the 0 it equals.
        newValue = kickmark::text::shortestText(clamped + 0.0f);
    }
    // Handlers run after a change of value, not after a setting that changes nothing.
    if (newValue == variable.value)
        return true;
    std::string oldValue = std::exchange(variable.value, std::move(newValue));

    const bool flag = variable.flag();
    const float number = variable.number();
    for (auto& binding : variable.boolCells)
        *binding.cell = flag;
    for (auto& binding : variable.floatCells)
        *binding.cell = number;

    // A handler may register or remove things; work on a copy and find the variable again
    // by id for the wrapper each handler receives.
    const auto id = variable.id;
    const auto handlers = variable.handlers;
    for (const auto& handler : handlers)
        if (handler.callback)
            handler.callback(oldValue, CVarWrapper(this, handler.owner, id));
    return true;
}

void HostContext::raise(std::string_view event) {
    // Index-based so that a callback may hook or unhook while the event is being raised;
    // hooks added meanwhile wait for the next event.
    ++raising;
    const std::size_t end = hooks.size();
    for (std::size_t i = 0; i < end; ++i) {
        if (!hooks[i].removed && hooks[i].event == event)
            hooks[i].callback(hooks[i].event);
    }
    if (--raising == 0)
        std::erase_if(hooks, [](const Hook& hook) { return hook.removed; });
}

void HostContext::unhook(OwnerId owner, std::optional<std::string_view> event) {
    for (auto& hook : hooks)
        if (hook.owner == owner && (!event || hook.event == *event))
            hook.removed = true;
    if (raising == 0)
        std::erase_if(hooks, [](const Hook& hook) { return hook.removed; });
}

void HostContext::removeOwner(OwnerId owner) {
    std::erase_if(variables, [owner](const auto& variable) { return variable->owner == owner; });
    auto byOwner = [owner](const auto& entry) { return entry.owner == owner; };
    for (auto& variable : variables) {
        std::erase_if(variable->boolCells, byOwner);
        std::erase_if(variable->floatCells, byOwner);
        std::erase_if(variable->handlers, byOwner);
    }
    std::erase_if(commands, byOwner);
    unhook(owner);
}

} // namespace pluginsdk
