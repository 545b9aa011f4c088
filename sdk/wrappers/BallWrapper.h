#pragma once

#include "RBActorWrapper.h"

class PLUGINSDK_API BallWrapper : public RBActorWrapper {
public:
    using RBActorWrapper::RBActorWrapper;
};
