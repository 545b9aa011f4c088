#pragma once

#include <cstdint>
#include <vector>

#include "Random.h"

namespace freeplay {

struct Vec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// A ball in an empty arena that a car strikes now and then, stepped at the game's tick rate.
// Deterministic for a seed: no wall clock, no platform-dependent randomness.
class FreeplaySimulation {
public:
    static constexpr double ticksPerSecond = 120.0;
    static constexpr std::uint64_t defaultSeed = 20261208;

    explicit FreeplaySimulation(std::uint64_t seed = defaultSeed);

    // Advances the game by one tick.
    void step();

    double time() const { return time_; }
    const Vec3& position() const { return position_; }
    const Vec3& velocity() const { return velocity_; }
    // The speed the ball had just after each strike so far, oldest first.
    const std::vector<double>& strikes() const { return strikes_; }

private:
    void strike();
    void move(double dt);
    void bounce();

    Random random_;
    double time_ = 0.0;
    double nextStrike_;
    bool resting_ = true;
    Vec3 position_;
    Vec3 velocity_;
    std::vector<double> strikes_;
};

} // namespace freeplay
