#include "ChartDrawing.h"

#include "NumberFormat.h"
#include "SpeedUnits.h"

namespace kickmark {
namespace {

// 1 above the axis, -1 below it, 0 on or within it.
int sideOf(double value, const SpeedAxis& axis) {
    return value > axis.high ? 1 : value < axis.low ? -1 : 0;
}

LinePoint along(const LinePoint& from, const LinePoint& to, double fraction) {
    return {from.x + fraction * (to.x - from.x), from.value + fraction * (to.value - from.value)};
}

// Where the segment crosses `level`, which lies between its ends.
double crossing(const LinePoint& from, const LinePoint& to, double level) {
    return along(from, to, (level - from.value) / (to.value - from.value)).x;
}

// The path of the line's parts within the axis, each part a subpath of its own.
std::string insidePath(std::span<const LinePoint> points, const SpeedScale& y) {
    const SpeedAxis& axis = y.axis;
    std::string d;
    bool drawing = false;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const LinePoint& a = points[i - 1];
        const LinePoint& b = points[i];
        // The part of the segment within the axis, as fractions of it.
        double from = 0;
        double to = 1;
        if (a.value != b.value) {
            const double atLow = (axis.low - a.value) / (b.value - a.value);
            const double atHigh = (axis.high - a.value) / (b.value - a.value);
            from = std::max(0.0, std::min(atLow, atHigh));
            to = std::min(1.0, std::max(atLow, atHigh));
        } else if (sideOf(a.value, axis) != 0) {
            from = 1;
            to = 0;
        }
        if (from > to) {
            drawing = false;
            continue;
        }
        if (!drawing || from > 0) {
            const LinePoint start = along(a, b, from);
            d += d.empty() ? "M" : " M";
            d += coordinate(start.x) + ' ' + coordinate(y(start.value));
        }
        const LinePoint end = along(a, b, to);
        d += ' ' + coordinate(end.x) + ' ' + coordinate(y(end.value));
        drawing = to == 1;
    }
    return d;
}

} // namespace

std::string speedText(double speed) {
    return formatNumber(speed, 2) + " units/s (" + formatNumber(toKmh(speed), 2) + " km/h)";
}

void writeSpeedAxes(std::ostream& out, const SpeedScale& y, const PlotArea& area) {
    for (const double speed : axisTicks(y.axis.low, y.axis.high, y.axis.step)) {
        writeLine(out, area.left, y(speed), area.right, y(speed), gridColour);
        writeText(out, area.left - 6, y(speed) + 4, "end", shortNumber(speed, y.axis.step));
    }
    const double middle = (area.top + area.bottom) / 2;
    writeText(out, 22, middle, "middle", "speed (units/s)", rotated(-90, 22, middle));
    writeLine(out, area.left, area.top, area.left, area.bottom, "black");
}

void writeMarks(std::ostream& out, std::span<const Mark> marks, const SpeedScale& y) {
    double freeFrom = -1e9;
    for (const Mark& mark : marks) {
        const bool above = mark.speed > y.axis.high;
        const double edge = above ? y(y.axis.high) : y(y.axis.low);
        const double tip = above ? edge - 7 : edge + 7;
        out << "<path class=\"beyond\" d=\"M" << coordinate(mark.x - 4) << ' ' << coordinate(edge)
            << "H" << coordinate(mark.x + 4) << "L" << coordinate(mark.x) << ' ' << coordinate(tip)
            << "Z\" fill=\"" << shotColour << "\"><title>" << escaped(mark.title)
            << "</title></path>\n";
        if (above && mark.x >= freeFrom) {
            writeText(out, mark.x, tip - 4, "middle", shortNumber(mark.speed, 1),
                      " font-size=\"10\"");
            freeFrom = mark.x + 60;
        }
    }
}

std::string breakMark(double x, double y, double inward) {
    std::string d;
    for (const double offset : {3.0, 7.0}) {
        d += 'M';
        d += coordinate(x - 5) + ' ' + coordinate(y + inward * (offset + 2));
        d += ' ';
        d += coordinate(x + 5) + ' ' + coordinate(y + inward * (offset - 2));
    }
    return d;
}

bool writeSpeedLine(std::ostream& out, std::span<const LinePoint> points, const SpeedScale& y,
                    const LineStyle& style) {
    if (points.size() < 2) {
        return false;
    }
    const SpeedAxis& axis = y.axis;
    const std::string inside = insidePath(points, y);
    if (!inside.empty()) {
        out << "<path class=\"" << style.name << "\" fill=\"none\" stroke=\"" << style.colour << '"'
            << style.attributes << " d=\"" << inside << "\"/>\n";
    }

    std::string breaks;
    const auto breakAt = [&](double x, double edge) {
        breaks += breakMark(x, y(edge), edge == axis.high ? 1 : -1);
    };
    for (std::size_t i = 0; i < points.size();) {
        const int side = sideOf(points[i].value, axis);
        if (side == 0) {
            ++i;
            continue;
        }
        const double edge = side > 0 ? axis.high : axis.low;
        double furthest = points[i].value;
        std::size_t end = i;
        for (; end < points.size() && sideOf(points[end].value, axis) == side; ++end) {
            furthest = side > 0 ? std::max(furthest, points[end].value)
                                : std::min(furthest, points[end].value);
        }
        const double leaves = i == 0 ? points[0].x : crossing(points[i - 1], points[i], edge);
        breakAt(leaves, edge);
        const double x = style.valuesLeft ? leaves - 6 : leaves + 6;
        writeText(out, x, side > 0 ? y(edge) - 3 : y(edge) + 11, style.valuesLeft ? "end" : "start",
                  shortNumber(furthest, 1),
                  " class=\"beyond-value\" font-size=\"10\" fill=\"" + std::string(style.colour) +
                      '"');
        if (end < points.size()) {
            breakAt(crossing(points[end - 1], points[end], edge), edge);
        }
        i = end;
    }
    if (breaks.empty()) {
        return false;
    }
    out << "<path class=\"break\" fill=\"none\" stroke=\"" << style.colour
        << "\" stroke-width=\"1.5\" d=\"" << breaks << "\"/>\n";
    return true;
}

} // namespace kickmark
