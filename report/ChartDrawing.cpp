#include "ChartDrawing.h"

#include "NumberFormat.h"
#include "SpeedUnits.h"

#include <algorithm>
#include <cmath>
#include <ranges>

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

void EdgeLabels::add(double x, bool above, std::string text, std::string_view colour, bool first) {
    labels.push_back({x, above, std::move(text), colour, first});
}

void EdgeLabels::write(std::ostream& out, const SpeedScale& y) const {
    constexpr int rows = 2;
    constexpr double rowHeight = smallText + 2;
    // Digits of the sans-serif font are a little over half as wide as it is high.
    const auto halfWidth = [](const Label& label) {
        return 0.3 * smallText * static_cast<double>(label.text.size()) + 3;
    };
    struct Placed {
        Label label; // at the place it was given
        int row;
    };
    std::vector<Placed> placed;
    std::vector<const Label*> order;
    for (const bool first : {true, false}) {
        for (const Label& label : labels) {
            if (label.first == first) {
                order.push_back(&label);
            }
        }
    }
    const auto overlaps = [&](const Label& a, const Label& b) {
        return a.above == b.above && std::fabs(a.x - b.x) < halfWidth(a) + halfWidth(b);
    };
    for (const Label* label : order) {
        const bool said = std::ranges::any_of(placed, [&](const Placed& other) {
            return other.label.text == label->text && overlaps(other.label, *label);
        });
        if (said) {
            continue;
        }
        // Right above its place, or else as near beside it as there is room.
        const double half = halfWidth(*label);
        for (const double shift : {0.0, -2 * half, 2 * half, -4 * half, 4 * half}) {
            Label moved = *label;
            moved.x = std::clamp(label->x + shift, left + half, std::max(left, right - half));
            const auto freeIn = [&](int row) {
                return std::ranges::none_of(placed, [&](const Placed& other) {
                    return other.row == row && overlaps(other.label, moved);
                });
            };
            if (const int row = *std::ranges::find_if(std::views::iota(0, rows), freeIn);
                row < rows) {
                placed.push_back({moved, row});
                break;
            }
        }
    }
    for (const auto& [label, row] : placed) {
        const double edge = label.above ? y(y.axis.high) : y(y.axis.low);
        const double offset = 10 + rowHeight * row;
        writeText(out, label.x, label.above ? edge - offset : edge + offset + smallText - 2,
                  "middle", escaped(label.text),
                  " class=\"beyond-value\" fill=\"" + std::string(label.colour) + '"');
    }
}

void writeMarks(std::ostream& out, std::span<const Mark> marks, const SpeedScale& y,
                EdgeLabels& labels) {
    const auto fastest = std::ranges::max_element(marks, {}, &Mark::speed);
    for (const Mark& mark : marks) {
        const bool above = mark.speed > y.axis.high;
        const double edge = above ? y(y.axis.high) : y(y.axis.low);
        const double tip = above ? edge - 7 : edge + 7;
        out << "<path class=\"beyond\" d=\"M" << coordinate(mark.x - 4) << ' ' << coordinate(edge)
            << "H" << coordinate(mark.x + 4) << "L" << coordinate(mark.x) << ' ' << coordinate(tip)
            << "Z\" fill=\"" << shotColour << "\"><title>" << escaped(mark.title)
            << "</title></path>\n";
        labels.add(mark.x, above, shortNumber(mark.speed, 1), shotColour,
                   above && &mark == &*fastest);
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
                    const LineStyle& style, EdgeLabels& labels) {
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
    std::string along;
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
            if (style.alongEdge && (end == i || points[end].value != points[end - 1].value)) {
                labels.add(points[end].x, side > 0, shortNumber(points[end].value, 1),
                           style.colour);
            }
        }
        const double leaves = i == 0 ? points[0].x : crossing(points[i - 1], points[i], edge);
        const double returns =
            end < points.size() ? crossing(points[end - 1], points[end], edge) : points.back().x;
        breakAt(leaves, edge);
        if (style.alongEdge) {
            const double outside = y(edge) - 3 * side;
            along += 'M';
            along += coordinate(leaves) + ' ' + coordinate(outside) + 'H' + coordinate(returns);
        } else {
            labels.add(leaves, side > 0, shortNumber(furthest, 1), style.colour);
        }
        if (end < points.size()) {
            breakAt(returns, edge);
        }
        i = end;
    }
    if (breaks.empty()) {
        return false;
    }
    out << "<path class=\"break\" fill=\"none\" stroke=\"" << style.colour
        << "\" stroke-width=\"1.5\" d=\"" << breaks << "\"/>\n";
    if (!along.empty()) {
        out << "<path class=\"along-edge\" fill=\"none\" stroke=\"" << style.colour
            << "\" stroke-width=\"2\" stroke-dasharray=\"1 3\" d=\"" << along << "\"/>\n";
    }
    return true;
}

} // namespace kickmark
