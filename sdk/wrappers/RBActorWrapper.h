#pragma once

#include "../RBState.h"
#include "ActorWrapper.h"

class PLUGINSDK_API RBActorWrapper : public ActorWrapper {
public:
    using ActorWrapper::ActorWrapper;

    // The state of the previous physics step; a null actor reports a state at rest.
    RBState GetOldRBState();
};
