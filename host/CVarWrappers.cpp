#include "HostContext.h"
#include "wrappers/CVarManagerWrapper.h"
#include "wrappers/CVarWrapper.h"

CVarManagerWrapper::CVarManagerWrapper(pluginsdk::HostContext* host, pluginsdk::OwnerId owner)
    : host_(host), owner_(owner) {}

CVarWrapper CVarManagerWrapper::registerCvar(std::string name, std::string defaultValue,
                                             std::string description, bool searchable, bool hasMin,
                                             float min, bool hasMax, float max, bool saveToCfg) {
    PLUGINSDK_RECORD_CALL(host_, registerCvar);
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
    PLUGINSDK_RECORD_CALL(host_, getCvar);
    auto* variable = host_->findVariable(name);
    return CVarWrapper(host_, owner_, variable ? variable->id : 0);
}

void CVarManagerWrapper::registerNotifier(std::string name, Notifier callback,
                                          std::string description, unsigned char permissions) {
    PLUGINSDK_RECORD_CALL(host_, registerNotifier);
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

namespace {

// The variable behind a handle; null when the handle is null or the variable has been removed
// since.
pluginsdk::Variable* variableOf(pluginsdk::HostContext* host, unsigned long long id) {
    return host && id != 0 ? host->findVariable(id) : nullptr;
}

} // namespace

bool CVarWrapper::getBoolValue() {
    PLUGINSDK_RECORD_CALL(host_, getBoolValue);
    auto* variable = variableOf(host_, id_);
    if (!variable)
        return false;
    return variable->flag();
}

void CVarWrapper::bindTo(std::shared_ptr<bool> cell) {
    PLUGINSDK_RECORD_CALL(host_, bindTo);
    auto* variable = variableOf(host_, id_);
    if (!variable || !cell)
        return;
    *cell = variable->flag();
    variable->boolCells.push_back({owner_, std::move(cell)});
}

void CVarWrapper::bindTo(std::shared_ptr<float> cell) {
    PLUGINSDK_RECORD_CALL(host_, bindTo);
    auto* variable = variableOf(host_, id_);
    if (!variable || !cell)
        return;
    *cell = variable->number();
    variable->floatCells.push_back({owner_, std::move(cell)});
}

void CVarWrapper::addOnValueChanged(ValueChanged callback) {
    PLUGINSDK_RECORD_CALL(host_, addOnValueChanged);
    auto* variable = variableOf(host_, id_);
    if (!variable || !callback)
        return;
    variable->handlers.push_back({owner_, std::move(callback)});
}
