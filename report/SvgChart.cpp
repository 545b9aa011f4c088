#include "SvgChart.h"

#include "ChartScales.h"
#include "ColumnSummary.h"
#include "NumberFormat.h"
#include "SpeedUnits.h"
#include "Statistics.h"
#include "SvgElements.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kickmark {
namespace {

constexpr double chartWidth = 1000;
constexpr double plotTop = 90;
constexpr double plotBottom = 400;
constexpr double shotsLeft = 80;
constexpr double shotsRight = 620;
constexpr double barsLeft = 660;
constexpr double barsRight = 900;
constexpr double legendY = 462;
constexpr double chartHeight = 480;
constexpr double panelTop = 540;
constexpr double panelBottom = 700;
constexpr double panelHeight = 770;

// Okabe and Ito's palette: blue and vermillion stay apart under every common colour-vision
// deficiency, and the shots stay neutral grey beneath them.
constexpr std::string_view shotColour = "#4d4d4d";
constexpr std::string_view barColour = "#9e9e9e";
constexpr std::string_view bestColour = "#D55E00";
constexpr std::string_view averageColour = "#0072B2";
constexpr std::string_view gridColour = "#e6e6e6";

constexpr std::string_view middleDot = " \xC2\xB7 ";

// Keeps everything drawn inside the plot: values beyond the axis sit on its edge.
struct SpeedScale {
    SpeedAxis axis;
    Scale scale;
    double operator()(double speed) const { return scale(std::clamp(speed, axis.low, axis.high)); }
};

std::string speedText(double speed) {
    return formatNumber(speed, 2) + " units/s (" + formatNumber(toKmh(speed), 2) + " km/h)";
}

void writeSpeedAxes(std::ostream& out, const SpeedScale& y, double left, double right, double top,
                    double bottom) {
    for (const double speed : axisTicks(y.axis.low, y.axis.high, y.axis.step)) {
        writeLine(out, left, y(speed), right, y(speed), gridColour);
        writeText(out, left - 6, y(speed) + 4, "end", shortNumber(speed, y.axis.step));
    }
    const double middle = (top + bottom) / 2;
    writeText(out, 22, middle, "middle", "speed (units/s)", rotated(-90, 22, middle));
    writeLine(out, left, top, left, bottom, "black");
}

void writeKmhAxis(std::ostream& out, const SpeedScale& y) {
    const auto ticks = kmhTicks(y.axis);
    const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : 1.0;
    for (const double kmh : ticks) {
        const double at = y(kmh / kmhPerUnitPerSecond);
        writeLine(out, barsRight, at, barsRight + 5, at, "black");
        writeText(out, barsRight + 8, at + 4, "start", shortNumber(kmh, step));
    }
    const double middle = (plotTop + plotBottom) / 2;
    writeText(out, chartWidth - 18, middle, "middle", "speed (km/h)",
              rotated(90, chartWidth - 18, middle));
    writeLine(out, barsRight, plotTop, barsRight, plotBottom, "black");
}

void writeShotAxis(std::ostream& out, const Scale& x, std::size_t shots) {
    const double step = std::max(1.0, roundStep(static_cast<double>(shots), 6));
    for (const double shot : axisTicks(step, static_cast<double>(shots), step)) {
        writeLine(out, x(shot), plotBottom, x(shot), plotBottom + 5, "black");
        writeText(out, x(shot), plotBottom + 18, "middle", formatFixed(shot, 0));
    }
    writeLine(out, shotsLeft, plotBottom, shotsRight, plotBottom, "black");
    writeText(out, (shotsLeft + shotsRight) / 2, plotBottom + 36, "middle", "shot number");
}

struct Mark {
    double x;
    double speed;
    std::string title;
};

// Shots beyond the axis: a triangle on the edge each, and their speeds written above as far as
// they fit side by side.
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

std::string stepsPath(std::span<const double> xs, std::span<const double> values,
                      const SpeedScale& y) {
    std::string d = "M";
    d += coordinate(xs[0]) + ' ' + coordinate(y(values[0]));
    for (std::size_t i = 1; i < values.size(); ++i) {
        if (values[i] != values[i - 1]) {
            d += 'H';
            d += coordinate(xs[i]);
            d += 'V';
            d += coordinate(y(values[i]));
        }
    }
    return d + "H" + coordinate(xs.back());
}

std::string polylinePoints(std::span<const double> xs, std::span<const double> values,
                           const SpeedScale& y) {
    std::string points;
    for (std::size_t i = 0; i < values.size(); ++i) {
        points += coordinate(xs[i]) + "," + coordinate(y(values[i])) + " ";
    }
    points.pop_back();
    return points;
}

struct Series {
    std::vector<double> xs;      // where each point sits
    std::vector<double> best;    // running best at each point
    std::vector<double> average; // moving average at each point
};

// One point per shot, or with column summaries one per column (at its last shot).
Series seriesAt(std::span<const double> speeds, std::span<const ColumnSummary> columns,
                const Scale& x) {
    const auto best = runningBest(speeds);
    const auto average = movingAverage(speeds, averageWindow(speeds.size()));
    Series series;
    const auto add = [&](std::size_t index) {
        series.xs.push_back(x(static_cast<double>(index + 1)));
        series.best.push_back(best[index]);
        series.average.push_back(average[index]);
    };
    if (columns.empty()) {
        for (std::size_t i = 0; i < speeds.size(); ++i) {
            add(i);
        }
    } else {
        for (const auto& column : columns) {
            add(column.last - 1);
        }
    }
    return series;
}

void writeDots(std::ostream& out, std::span<const double> speeds, const Scale& x,
               const SpeedScale& y, std::vector<Mark>& marks) {
    const std::size_t n = speeds.size();
    const std::string_view radius = n <= 200 ? "3" : n <= 1000 ? "2" : "1.3";
    const std::string_view opacity = n <= 200 ? "0.7" : n <= 1000 ? "0.45" : "0.3";
    out << "<g class=\"shots\" fill=\"" << shotColour << "\" fill-opacity=\"" << opacity << "\">\n";
    for (std::size_t i = 0; i < n; ++i) {
        const double speed = speeds[i];
        const std::string title = "shot " + std::to_string(i + 1) + ": " + speedText(speed);
        if (speed > y.axis.high || speed < y.axis.low) {
            marks.push_back({x(static_cast<double>(i + 1)), speed, title});
            continue;
        }
        out << "<circle class=\"shot\" cx=\"" << coordinate(x(static_cast<double>(i + 1)))
            << "\" cy=\"" << coordinate(y(speed)) << "\" r=\"" << radius << "\"><title>" << title
            << "</title></circle>\n";
    }
    out << "</g>\n";
}

void writeColumns(std::ostream& out, std::span<const ColumnSummary> columns, const Scale& x,
                  const SpeedScale& y, std::vector<Mark>& marks) {
    std::string ranges;
    std::string means;
    for (const auto& column : columns) {
        const double at =
            x((static_cast<double>(column.first) + static_cast<double>(column.last)) / 2);
        // At least a pixel tall, so a column of equal speeds still shows.
        const double top = std::min(y(column.fastest), y(column.slowest) - 1);
        ranges += 'M';
        ranges += coordinate(at) + ' ' + coordinate(y(column.slowest));
        ranges += 'V';
        ranges += coordinate(top);
        means += coordinate(at) + "," + coordinate(y(column.mean)) + " ";
        if (column.fastest > y.axis.high) {
            marks.push_back({at, column.fastest,
                             "shots " + std::to_string(column.first) + " to " +
                                 std::to_string(column.last) + ": fastest " +
                                 speedText(column.fastest)});
        }
    }
    means.pop_back();
    out << "<path class=\"column-range\" d=\"" << ranges << "\" stroke=\"" << barColour
        << "\" stroke-width=\"1\" stroke-opacity=\"0.55\"/>\n"
        << "<polyline class=\"column-mean\" fill=\"none\" stroke=\"" << shotColour
        << "\" stroke-width=\"1\" stroke-opacity=\"0.45\" points=\"" << means << "\"/>\n";
}

void writeHistogram(std::ostream& out, std::span<const double> speeds, const SpeedScale& y) {
    const SpeedAxis& axis = y.axis;
    const double width = std::max(500.0, roundStep(axis.high - axis.low, 20));
    const auto bins = static_cast<std::size_t>(std::ceil((axis.high - axis.low) / width));
    std::vector<std::size_t> counts(bins, 0);
    std::size_t above = 0;
    for (const double speed : speeds) {
        if (speed > axis.high || speed < axis.low) {
            above += speed > axis.high ? 1 : 0;
            continue;
        }
        const auto bin = static_cast<std::size_t>(std::floor((speed - axis.low) / width));
        ++counts[std::min(bin, bins - 1)];
    }
    const auto largest = static_cast<double>(std::max<std::size_t>(1, std::ranges::max(counts)));
    const double countStep = std::max(1.0, roundStep(largest, 4));
    const double countTop = std::ceil(largest / countStep) * countStep;
    const Scale x{0, countTop, barsLeft, barsRight};
    out << "<g class=\"histogram\" fill=\"" << barColour << "\" stroke=\"white\">\n";
    for (std::size_t bin = 0; bin < bins; ++bin) {
        const double start = axis.low + static_cast<double>(bin) * width;
        const double top = y(start + width);
        out << "<rect class=\"bin\" x=\"" << coordinate(barsLeft) << "\" y=\"" << coordinate(top)
            << "\" width=\"" << coordinate(x(static_cast<double>(counts[bin])) - barsLeft)
            << "\" height=\"" << coordinate(y(start) - top) << "\"><title>"
            << shortNumber(start, width) << " to " << shortNumber(start + width, width)
            << " units/s: " << std::to_string(counts[bin])
            << (counts[bin] == 1 ? " shot" : " shots") << "</title></rect>\n";
    }
    out << "</g>\n";
    if (above > 0) {
        writeText(out, barsLeft + 4, plotTop - 6, "start",
                  std::to_string(above) + " above the axis", " font-size=\"10\"");
    }
    for (const double count : axisTicks(0, countTop, countStep)) {
        writeLine(out, x(count), plotBottom, x(count), plotBottom + 5, "black");
        writeText(out, x(count), plotBottom + 18, "middle", formatFixed(count, 0));
    }
    writeLine(out, barsLeft, plotTop, barsLeft, plotBottom, "black");
    writeLine(out, barsLeft, plotBottom, barsRight, plotBottom, "black");
    writeText(out, (barsLeft + barsRight) / 2, plotBottom + 36, "middle",
              "shots per " + shortNumber(width, width) + " units/s");
}

void writeLegendItem(std::ostream& out, double& x, std::string_view symbol,
                     std::string_view label) {
    out << symbol;
    writeText(out, x + 24, legendY + 4, "start", label);
    x += 34 + 6.5 * static_cast<double>(label.size());
}

void writeLegend(std::ostream& out, bool columns, std::size_t columnWidth, std::size_t window,
                 bool anyMarks) {
    double x = shotsLeft;
    const std::string at = coordinate(legendY);
    const auto line = [&](std::string_view colour, std::string_view extra = "") {
        return "<line x1=\"" + coordinate(x) + "\" y1=\"" + at + "\" x2=\"" + coordinate(x + 18) +
               "\" y2=\"" + at + "\" stroke=\"" + std::string(colour) + "\" stroke-width=\"2\"" +
               std::string(extra) + "/>\n";
    };
    if (columns) {
        writeLegendItem(out, x,
                        "<line x1=\"" + coordinate(x + 9) + "\" y1=\"" + coordinate(legendY - 7) +
                            "\" x2=\"" + coordinate(x + 9) + "\" y2=\"" + coordinate(legendY + 7) +
                            "\" stroke=\"" + std::string(barColour) + "\" stroke-width=\"3\"/>\n",
                        "slowest to fastest of each " + std::to_string(columnWidth) +
                            " shots, and their mean");
    } else {
        writeLegendItem(out, x,
                        "<circle cx=\"" + coordinate(x + 9) + "\" cy=\"" + at +
                            "\" r=\"3\" fill=\"" + std::string(shotColour) + "\"/>\n",
                        "shot");
    }
    writeLegendItem(out, x, line(bestColour), "best so far");
    writeLegendItem(out, x, line(averageColour),
                    "average of the last " + std::to_string(window) + " shots");
    if (anyMarks) {
        writeLegendItem(out, x,
                        "<path d=\"M" + coordinate(x + 5) + ' ' + coordinate(legendY + 4) + "H" +
                            coordinate(x + 13) + "L" + coordinate(x + 9) + ' ' +
                            coordinate(legendY - 3) + "Z\" fill=\"" + std::string(shotColour) +
                            "\"/>\n",
                        "beyond the axis");
    }
}

std::string headline(std::span<const double> speeds, std::size_t recentCount) {
    const Summary summary = summarize(speeds);
    std::string text = std::to_string(summary.shots) + (summary.shots == 1 ? " shot" : " shots") +
                       std::string(middleDot) + "fastest " + speedText(summary.fastest) +
                       std::string(middleDot) + "mean " + formatNumber(summary.mean, 2) +
                       " units/s";
    if (speeds.size() > recentCount) {
        const auto split = speeds.size() - recentCount;
        const double change =
            summarize(speeds.subspan(split)).mean - summarize(speeds.first(split)).mean;
        const std::string number = formatNumber(change, 2);
        text += std::string(middleDot) + "last " + std::to_string(recentCount) + ": mean " +
                (number.starts_with('-') ? number : "+" + number) + " units/s";
    }
    return text;
}

void writeShotsPlot(std::ostream& out, std::span<const double> speeds, std::size_t recentCount) {
    std::vector<double> sorted(speeds.begin(), speeds.end());
    std::ranges::sort(sorted);
    const SpeedAxis axis = fitSpeedAxis(sorted);
    const SpeedScale y{axis, {axis.low, axis.high, plotBottom, plotTop}};
    const auto shots = static_cast<double>(speeds.size());
    const Scale x{0.5, shots + 0.5, shotsLeft, shotsRight};

    writeText(out, chartWidth / 2, 50, "middle", escaped(headline(speeds, recentCount)));
    writeSpeedAxes(out, y, shotsLeft, barsRight, plotTop, plotBottom);
    writeKmhAxis(out, y);
    writeShotAxis(out, x, speeds.size());
    writeHistogram(out, speeds, y);

    std::vector<Mark> marks;
    std::vector<ColumnSummary> columns;
    if (speeds.size() > mostDots) {
        columns = columnSummaries(speeds, static_cast<std::size_t>(shotsRight - shotsLeft));
        writeColumns(out, columns, x, y, marks);
    } else {
        writeDots(out, speeds, x, y, marks);
    }
    const Series series = seriesAt(speeds, columns, x);
    out << "<path class=\"best\" fill=\"none\" stroke=\"" << bestColour
        << "\" stroke-width=\"2\" d=\"" << stepsPath(series.xs, series.best, y) << "\"/>\n"
        << "<polyline class=\"average\" fill=\"none\" stroke=\"" << averageColour
        << "\" stroke-width=\"2.5\" stroke-linejoin=\"round\" points=\""
        << polylinePoints(series.xs, series.average, y) << "\"/>\n";
    writeMarks(out, marks, y);
    writeLegend(out, !columns.empty(), columns.empty() ? 1 : speeds.size() / columns.size(),
                averageWindow(speeds.size()), !marks.empty());
}

void writeSessionsPanel(std::ostream& out, std::span<const Session> sessions) {
    std::vector<double> values;
    std::vector<double> medians;
    std::vector<std::optional<Summary>> summaries;
    for (const auto& session : sessions) {
        if (session.speeds.empty()) {
            summaries.emplace_back();
            continue;
        }
        summaries.push_back(summarize(session.speeds));
        medians.push_back(summaries.back()->median);
        values.push_back(summaries.back()->median);
        values.push_back(summaries.back()->fastest);
    }
    writeText(out, shotsLeft, panelTop - 16, "start",
              "<tspan font-weight=\"bold\">Sessions</tspan>, oldest first: median and fastest "
              "shot of each");
    if (values.empty()) {
        return;
    }
    const SpeedAxis axis = fitCappedAxis(values, std::ranges::max(medians));
    const SpeedScale y{axis, {axis.low, axis.high, panelBottom, panelTop}};
    const Scale x{-0.5, static_cast<double>(sessions.size()) - 0.5, shotsLeft, barsRight};
    writeSpeedAxes(out, y, shotsLeft, barsRight, panelTop, panelBottom);
    writeLine(out, shotsLeft, panelBottom, barsRight, panelBottom, "black");

    const std::size_t labelEvery = (sessions.size() + 9) / 10;
    std::string medianPoints;
    std::string fastestPoints;
    std::vector<Mark> marks;
    for (std::size_t i = 0; i < sessions.size(); ++i) {
        const double at = x(static_cast<double>(i));
        if (i % labelEvery == 0) {
            writeLine(out, at, panelBottom, at, panelBottom + 5, "black");
            writeText(out, at, panelBottom + 18, "middle", escaped(sessions[i].date.substr(0, 10)));
        }
        if (!summaries[i]) {
            continue;
        }
        const Summary& s = *summaries[i];
        medianPoints += coordinate(at) + "," + coordinate(y(s.median)) + " ";
        fastestPoints += coordinate(at) + "," + coordinate(y(s.fastest)) + " ";
        const std::string title =
            escaped(sessions[i].name + ", " + sessions[i].date + ": " + std::to_string(s.shots) +
                    " shots, median " + speedText(s.median) + ", fastest " + speedText(s.fastest));
        for (const auto& [value, colour] :
             {std::pair{s.median, averageColour}, std::pair{s.fastest, bestColour}}) {
            out << "<circle class=\"session\" cx=\"" << coordinate(at) << "\" cy=\""
                << coordinate(y(value)) << "\" r=\"4\" fill=\"" << colour << "\"><title>" << title
                << "</title></circle>\n";
        }
        if (s.fastest > axis.high) {
            marks.push_back(
                {at, s.fastest, sessions[i].name + ": fastest " + speedText(s.fastest)});
        }
    }
    medianPoints.pop_back();
    fastestPoints.pop_back();
    out << "<polyline class=\"session-median\" fill=\"none\" stroke=\"" << averageColour
        << "\" stroke-width=\"2\" points=\"" << medianPoints << "\"/>\n"
        << "<polyline class=\"session-fastest\" fill=\"none\" stroke=\"" << bestColour
        << "\" stroke-width=\"2\" stroke-dasharray=\"6 3\" points=\"" << fastestPoints << "\"/>\n";
    writeMarks(out, marks, y);
    const double legend = panelBottom + 48;
    writeLine(out, shotsLeft, legend - 4, shotsLeft + 18, legend - 4, averageColour,
              " stroke-width=\"2\"");
    writeText(out, shotsLeft + 24, legend, "start", "median");
    writeLine(out, shotsLeft + 90, legend - 4, shotsLeft + 108, legend - 4, bestColour,
              " stroke-width=\"2\" stroke-dasharray=\"6 3\"");
    writeText(out, shotsLeft + 114, legend, "start", "fastest");
}

} // namespace

void writeSvgChart(std::ostream& out, const ChartInput& input) {
    const bool panel = input.sessions.size() > 1;
    const std::string width = formatFixed(chartWidth, 0);
    const std::string height = formatFixed(panel ? panelHeight : chartHeight, 0);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " << width << ' ' << height
        << "\" width=\"100%\" font-family=\"sans-serif\" font-size=\"12\">\n"
        << "<title>Ball speed by shot</title>\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    writeText(out, chartWidth / 2, 28, "middle", "Ball speed by shot",
              " font-size=\"16\" font-weight=\"bold\"");
    if (input.speeds.empty()) {
        writeText(out, chartWidth / 2, 50, "middle", "no shots in the newest session");
    } else {
        writeShotsPlot(out, input.speeds, input.recentCount);
    }
    if (panel) {
        writeSessionsPanel(out, input.sessions);
    }
    out << "</svg>\n";
}

} // namespace kickmark
