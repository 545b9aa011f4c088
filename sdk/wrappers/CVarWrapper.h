#pragma once

#include <functional>
#include <memory>
#include <string>

#include "../sdk_export.h"
#include "OpaqueHostTypes.h"

class PLUGINSDK_API CVarWrapper {
public:
    using ValueChanged = std::function<void(std::string oldValue, CVarWrapper cvar)>;

    CVarWrapper(pluginsdk::HostContext* host = nullptr, pluginsdk::OwnerId owner = 0,
                unsigned long long id = 0);

    bool IsNull();
    bool getBoolValue();

    // The host keeps a bound cell equal to the variable's value from now on.
    void bindTo(std::shared_ptr<bool> cell);
    void bindTo(std::shared_ptr<float> cell);

    // Runs after every change of the value.
    void addOnValueChanged(ValueChanged callback);

private:
    pluginsdk::HostContext* host_;
    pluginsdk::OwnerId owner_;
    unsigned long long id_;
};
