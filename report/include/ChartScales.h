#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace kickmark {

// A speed axis from `low` to `high` with a tick every `step`; both ends are multiples of the step.
struct SpeedAxis {
    double low = 0.0;
    double high = 0.0;
    double step = 0.0;
};

// 1, 2 or 5 times a power of ten, at least span / wantedTicks: tick labels people read at a
// glance. A span of 0 counts as 1.
double roundStep(double span, double wantedTicks);

// Fits the bulk of the shots, rounded out to a round step: from 0 (or below it, for negative
// shots) up past the fastest shot within 1.5 times the shot at the 99th percentile or 3 times
// the median; that shot always lies below the top. One wild shot then cannot squash the others
// onto the floor; the shots outside are drawn on the edge. `sorted` ascending, not empty.
SpeedAxis fitSpeedAxis(std::span<const double> sorted);

// The axis for values whose typical size is `typical` (a median): up to the largest value, but
// no higher than three times `typical` when that is positive. `values` not empty.
SpeedAxis fitCappedAxis(std::span<const double> values, double typical);

// Multiples of `step` from `low` to `high`, both included when they are multiples.
std::vector<double> axisTicks(double low, double high, double step);

// Round km/h values for the same axis, in km/h.
std::vector<double> kmhTicks(const SpeedAxis& axis);

// The moving average spans 10 shots, or a fiftieth of them when there are more than 500, so the
// line stays smooth as the session grows.
std::size_t averageWindow(std::size_t shots);

// Up to this many shots each is a dot; beyond, each pixel column shows a summary of its shots.
constexpr std::size_t mostDots = 4000;

} // namespace kickmark
