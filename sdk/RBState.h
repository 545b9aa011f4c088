#pragma once

#include <cstddef>

struct Vector {
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
};

struct Quat {
    float W = 1.0f;
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
};

// A rigid body's physics state as the game reports it. Plugins rely on the byte layout,
// so the linear velocity must stay at offset 28.
struct RBState {
    Quat Quaternion;
    Vector Location;
    Vector LinearVelocity;
    Vector AngularVelocity;
    float Time = 0.0f;
    bool bSleeping = false;
    bool bNewData = false;
};

static_assert(offsetof(RBState, LinearVelocity) + offsetof(Vector, X) == 28);
static_assert(offsetof(RBState, LinearVelocity) + offsetof(Vector, Y) == 32);
static_assert(offsetof(RBState, LinearVelocity) + offsetof(Vector, Z) == 36);
static_assert(sizeof(float) == 4);
