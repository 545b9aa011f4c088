#pragma once

#include "../sdk_export.h"
#include "OpaqueHostTypes.h"

class PLUGINSDK_API ActorWrapper {
public:
    explicit ActorWrapper(pluginsdk::HostContext* host = nullptr,
                          pluginsdk::ActorState* actor = nullptr);

    bool IsNull();

protected:
    pluginsdk::HostContext* host_;
    pluginsdk::ActorState* actor_;
};
