#pragma once

#include "ActorWrapper.h"
#include "BallWrapper.h"

// The match the game runs; in free play the local game acts as its server.
class PLUGINSDK_API ServerWrapper : public ActorWrapper {
public:
    using ActorWrapper::ActorWrapper;

    // The match's ball, or a null handle when the match has none (or is itself null).
    BallWrapper GetBall();
};
