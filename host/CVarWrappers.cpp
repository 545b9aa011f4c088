#include "HostContext.h"
#include "wrappers/CVarManagerWrapper.h"
#include "wrappers/CVarWrapper.h"

using pluginsdk::HostCall;

CVarManagerWrapper::CVarManagerWrapper(pluginsdk::HostContext* host, pluginsdk::OwnerId owner)
    : host_(host), owner_(owner) {}

CVarWrapper CVarManagerWrapper::registerCvar(std::string name, std::string defaultValue,
                                             std::string description, bool searchable, bool hasMin,
                                             float min, bool hasMax, float max, bool saveToCfg) {
    host_->count(HostCall::registerCvar);
    if (auto* existing = host_->findVariable(name))
        return CVarWrapper(host_, owner_, existing->id);
    auto variable = std::make_unique<pluginsdk::Variable>();
    variable->id = host_->nextVariableId++;
    variable->owner = owner_;
    variable->name = std::move(name);
    variable->defaultValue = defaultValue;
    variable->description = std::move(description);
    variable->searchable = searchable;
    variable->hasMin = hasMin;
    variable->min = min;
    variable->hasMax = hasMax;
    variable->max = max;
    variable->saveToCfg = saveToCfg;
    variable->value = std::move(defaultValue);
    const auto id = variable->id;
    host_->variables.push_back(std::move(variable));
    return CVarWrapper(host_, owner_, id);
}

CVarWrapper CVarManagerWrapper::getCvar(std::string name) {
    host_->count(HostCall::getCvar);
    auto* variable = host_->findVariable(name);
    return CVarWrapper(host_, owner_, variable ? variable->id : 0);
}

void CVarManagerWrapper::registerNotifier(std::string name, Notifier callback,
                                          std::string description, unsigned char permissions) {
    host_->count(HostCall::registerNotifier);
    pluginsdk::Command command{owner_, std::move(name), std::move(description), permissions,
                               std::move(callback)};
    if (auto* existing = host_->findCommand(command.name))
        *existing = std::move(command);
    else
        host_->commands.push_back(std::move(command));
}

CVarWrapper::CVarWrapper(pluginsdk::HostContext* host, pluginsdk::OwnerId owner,
                         unsigned long long id)
    : host_(host), owner_(owner), id_(id) {}

bool CVarWrapper::IsNull() {
    return !host_ || id_ == 0 || !host_->findVariable(id_);
}

// Counts the call and finds the variable; null when the handle is null or the variable
// has been removed since.
pluginsdk::Variable* CVarWrapper::counted(HostCall call) const {
    if (!host_)
        return nullptr;
    host_->count(call);
    return id_ != 0 ? host_->findVariable(id_) : nullptr;
}

bool CVarWrapper::getBoolValue() {
    auto* variable = counted(HostCall::getBoolValue);
    if (!variable)
        return false;
    return variable->flag();
}

void CVarWrapper::bindTo(std::shared_ptr<bool> cell) {
    auto* variable = counted(HostCall::bindTo);
    if (!variable || !cell)
        return;
    *cell = variable->flag();
    variable->boolCells.push_back({owner_, std::move(cell)});
}

void CVarWrapper::bindTo(std::shared_ptr<float> cell) {
    auto* variable = counted(HostCall::bindTo);
    if (!variable || !cell)
        return;
    *cell = variable->number();
    variable->floatCells.push_back({owner_, std::move(cell)});
}

void CVarWrapper::addOnValueChanged(ValueChanged callback) {
    auto* variable = counted(HostCall::addOnValueChanged);
    if (!variable || !callback)
        return;
    variable->handlers.push_back({owner_, std::move(callback)});
}
