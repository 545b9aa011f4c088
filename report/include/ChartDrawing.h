#pragma once

#include "ChartScales.h"
#include "SvgElements.h"

#include <algorithm>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// The smallest text the chart writes, in its own units: the chart is never drawn so narrow, nor
// printed so small, that it would be under 10 px or 8 pt.
inline constexpr double smallText = 12;

// Values written beyond the axis, outside the plot next to what they belong to. Gathered first
// and written last, so that they stand in rows and none covers another.
class EdgeLabels {
public:
    // Labels stand between `left` and `right`.
    EdgeLabels(double left, double right) : left(left), right(right) {}

    // `first`: placed before every other label, so it is written whatever else is there.
    void add(double x, bool above, std::string text, std::string_view colour, bool first = false);

    // In rows outward from the edge, the labels marked first, then in the order they came: each
    // above its place, or else beside it; a label that fits nowhere near is left out, and so is
    // one whose text a label it would touch says already.
    void write(std::ostream& out, const SpeedScale& y) const;

private:
    struct Label {
        double x;
        bool above;
        std::string text;
        std::string_view colour;
        bool first;
    };
    double left;
    double right;
    std::vector<Label> labels;
};

// Something beyond the axis: a triangle on the edge at `x`, with `title` on hovering.
struct Mark {
    double x;
    double speed;
    std::string title;
};

// The marks, with their speeds among the labels; the fastest of them always has its label.
void writeMarks(std::ostream& out, std::span<const Mark> marks, const SpeedScale& y,
                EdgeLabels& labels);

struct LinePoint {
    double x;
    double value;
};

struct LineStyle {
    std::string_view name; // the path's class
    std::string_view colour;
    std::string_view attributes = {}; // stroke width, dashes
    // Beyond the axis the line goes on as a dotted line outside the plot, along its edge, with
    // each value it takes there written once: for a line that is right everywhere, such as the
    // best so far, rather than one that comes back.
    bool alongEdge = false;
};

// Path data of a break mark: two short strokes across a line that ends at (x, y), on the side
// `inward` points to (1: below, towards larger y; -1: above).
std::string breakMark(double x, double y, double inward);

// A line through `points`, drawn only within the axis: where it leaves the axis it ends in a
// break mark with the furthest value it reaches beyond among the labels, and where it comes
// back it starts again with a break mark. It never runs along the edge inside the plot as if
// that were its value. Returns whether it went beyond anywhere. Fewer than two points draw
// nothing.
bool writeSpeedLine(std::ostream& out, std::span<const LinePoint> points, const SpeedScale& y,
                    const LineStyle& style, EdgeLabels& labels);

} // namespace kickmark
