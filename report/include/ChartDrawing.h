#pragma once

#include "ChartScales.h"
#include "SvgElements.h"

#include <algorithm>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace kickmark {

// Okabe and Ito's palette: blue and vermillion stay apart under every common colour-vision
// deficiency, and the shots stay neutral grey beneath them.
inline constexpr std::string_view shotColour = "#4d4d4d";
inline constexpr std::string_view barColour = "#9e9e9e";
inline constexpr std::string_view bestColour = "#D55E00";
inline constexpr std::string_view averageColour = "#0072B2";
inline constexpr std::string_view gridColour = "#e6e6e6";

// Where a plot sits on the page, in pixels.
struct PlotArea {
    double left;
    double right;
    double top;
    double bottom;
};

// Keeps everything drawn inside the plot: values beyond the axis sit on its edge.
struct SpeedScale {
    SpeedAxis axis;
    Scale scale;

    SpeedScale(const SpeedAxis& speedAxis, const PlotArea& area)
        : axis(speedAxis), scale{axis.low, axis.high, area.bottom, area.top} {}
    double operator()(double speed) const { return scale(std::clamp(speed, axis.low, axis.high)); }
};

// "2500.00 units/s (90.00 km/h)"
std::string speedText(double speed);

// The grid and labels of the speed axis across the area, and the axis line on its left.
void writeSpeedAxes(std::ostream& out, const SpeedScale& y, const PlotArea& area);

// Something beyond the axis: a triangle on the edge at `x`, with `title` on hovering.
struct Mark {
    double x;
    double speed;
    std::string title;
};

// The marks, and above the plot their speeds as far as they fit side by side.
void writeMarks(std::ostream& out, std::span<const Mark> marks, const SpeedScale& y);

struct LinePoint {
    double x;
    double value;
};

struct LineStyle {
    std::string_view name; // the path's class
    std::string_view colour;
    std::string_view attributes = {}; // stroke width, dashes
    // Which side of a break the value beyond is written on, so two lines that leave the axis
    // at one place keep their values apart.
    bool valuesLeft = false;
};

// Path data of a break mark: two short strokes across a line that ends at (x, y), on the side
// `inward` points to (1: below, towards larger y; -1: above).
std::string breakMark(double x, double y, double inward);

// A line through `points`, drawn only within the axis: where it leaves the axis it ends in a
// break mark with the furthest value it reaches beyond written there, and where it comes back
// it starts again with a break mark. It never runs along the edge as if that were its value.
// Returns whether it went beyond anywhere. Fewer than two points draw nothing.
bool writeSpeedLine(std::ostream& out, std::span<const LinePoint> points, const SpeedScale& y,
                    const LineStyle& style);

} // namespace kickmark
