#include "HostContext.h"
#include "wrappers/BallWrapper.h"
#include "wrappers/ServerWrapper.h"

ActorWrapper::ActorWrapper(pluginsdk::HostContext* host, pluginsdk::ActorState* actor)
    : host_(host), actor_(actor) {}

bool ActorWrapper::IsNull() {
    if (host_)
        host_->count(pluginsdk::HostCall::IsNull);
    return actor_ == nullptr;
}

RBState RBActorWrapper::GetOldRBState() {
    if (host_)
        host_->count(pluginsdk::HostCall::GetOldRBState);
    return actor_ ? actor_->state : RBState{};
}

BallWrapper ServerWrapper::GetBall() {
    if (!host_)
        return BallWrapper();
    host_->count(pluginsdk::HostCall::GetBall);
    if (!actor_ || !host_->hasBall)
        return BallWrapper(host_, nullptr);
    return BallWrapper(host_, &host_->ball);
}
