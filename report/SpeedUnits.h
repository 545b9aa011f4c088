#pragma once

namespace kickmark {

// Lengths in the game are centimetres: 1 unit/s = 0.01 m/s = 0.036 km/h.
constexpr double kmhPerUnitPerSecond = 0.036;

constexpr double toKmh(double unitsPerSecond) {
    return unitsPerSecond * kmhPerUnitPerSecond;
}

} // namespace kickmark
