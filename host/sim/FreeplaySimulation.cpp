#include "FreeplaySimulation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace freeplay {

namespace {

// The arena and the ball, in the game's units (centimetres) and seconds.
constexpr double ballRadius = 91.25;
constexpr double gravity = 650.0;
constexpr double dragPerSecond = 0.03;
constexpr double maxSpeed = 6000.0;
constexpr double ceiling = 2044.0;
constexpr double sideWall = 4096.0;
constexpr double endWall = 5120.0;
constexpr double restitution = 0.6;
constexpr double floorFriction = 0.8;
constexpr double restBelow = 100.0;

constexpr double minStrikeGap = 2.0;
constexpr double maxStrikeGap = 6.0;
constexpr double minStrikeSpeed = 500.0;
constexpr double maxStrikeSpeed = 4500.0;
constexpr double loftedShare = 0.3;

double length(const Vec3& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

// Keeps a coordinate inside [-limit, limit] and turns the velocity back off the wall.
void wall(double& position, double& velocity, double limit) {
    if (position > limit - ballRadius && velocity > 0.0) {
        position = limit - ballRadius;
        velocity = -velocity * restitution;
    } else if (position < -limit + ballRadius && velocity < 0.0) {
        position = -limit + ballRadius;
        velocity = -velocity * restitution;
    }
}

} // namespace

FreeplaySimulation::FreeplaySimulation(std::uint64_t seed)
    : random_(seed), nextStrike_(random_.uniform(minStrikeGap, maxStrikeGap)) {
    position_.z = ballRadius;
}

void FreeplaySimulation::step() {
    const double dt = 1.0 / ticksPerSecond;
    time_ += dt;
    if (time_ >= nextStrike_) {
        strike();
        nextStrike_ = time_ + random_.uniform(minStrikeGap, maxStrikeGap);
    }
    move(dt);
    bounce();
}

void FreeplaySimulation::strike() {
    const double speed = random_.uniform(minStrikeSpeed, maxStrikeSpeed);
    const double heading = random_.uniform(0.0, 2.0 * std::numbers::pi);
    // Most touches keep the ball on the ground; some loft it.
    const bool lofted = random_.uniform(0.0, 1.0) < loftedShare;
    const double elevation = lofted ? random_.uniform(0.35, 1.05) : random_.uniform(0.0, 0.08);
    velocity_ = {speed * std::cos(elevation) * std::cos(heading),
                 speed * std::cos(elevation) * std::sin(heading), speed * std::sin(elevation)};
    resting_ = false;
    strikes_.push_back(speed);
}

void FreeplaySimulation::move(double dt) {
    if (!resting_)
        velocity_.z -= gravity * dt;
    const double keep = 1.0 - dragPerSecond * dt;
    velocity_.x *= keep;
    velocity_.y *= keep;
    velocity_.z *= keep;
    const double speed = length(velocity_);
    if (speed > maxSpeed) {
        const double scale = maxSpeed / speed;
        velocity_.x *= scale;
        velocity_.y *= scale;
        velocity_.z *= scale;
    }
    position_.x += velocity_.x * dt;
    position_.y += velocity_.y * dt;
    position_.z += velocity_.z * dt;
}

void FreeplaySimulation::bounce() {
    wall(position_.x, velocity_.x, sideWall);
    wall(position_.y, velocity_.y, endWall);
    if (position_.z > ceiling - ballRadius && velocity_.z > 0.0) {
        position_.z = ceiling - ballRadius;
        velocity_.z = -velocity_.z * restitution;
    }
    if (position_.z < ballRadius && velocity_.z <= 0.0) {
        position_.z = ballRadius;
        if (-velocity_.z < restBelow) {
            // Too slow to bounce: it rolls from here on.
            velocity_.z = 0.0;
            resting_ = true;
        } else {
            velocity_.z = -velocity_.z * restitution;
            velocity_.x *= floorFriction;
            velocity_.y *= floorFriction;
        }
    }
}

} // namespace freeplay
