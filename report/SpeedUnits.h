#pragma once

namespace kickmark {

// Lengths in the game are centimetres: 1 unit/s = 0.01 m/s = 0.036 km/h.
constexpr double kmh_per_unit_per_second = 0.036;

constexpr double to_kmh(double units_per_second) {
    return units_per_second * kmh_per_unit_per_second;
}

} // namespace kickmark
