#include "HostContext.h"
#include "wrappers/BallWrapper.h"
#include "wrappers/ServerWrapper.h"

ActorWrapper::ActorWrapper(pluginsdk::HostContext* host, pluginsdk::ActorState* actor)
    : host_(host), actor_(actor) {}

bool ActorWrapper::IsNull() {
    PLUGINSDK_RECORD_CALL(host_, IsNull);
    return actor_ == nullptr;
}

RBState RBActorWrapper::GetOldRBState() {
    PLUGINSDK_RECORD_CALL(host_, GetOldRBState);
    return actor_ ? actor_->state : RBState{};
}

BallWrapper ServerWrapper::GetBall() {
    if (!host_)
        return BallWrapper();
    PLUGINSDK_RECORD_CALL(host_, GetBall);
    if (!actor_ || !host_->hasBall)
        return BallWrapper(host_, nullptr);
    return BallWrapper(host_, &host_->ball);
}
