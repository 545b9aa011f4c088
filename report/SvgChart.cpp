#include "SvgChart.h"

#include "ChartDrawing.h"
#include "ChartScales.h"
#include "ColumnSummary.h"
#include "LocalTime.h"
#include "NumberFormat.h"
#include "SessionsPanel.h"
#include "SpeedUnits.h"
#include "Statistics.h"
#include "SvgElements.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace kickmark {
namespace {

constexpr double chartWidth = 1000;
constexpr double headlineY = 50;
constexpr double plotTop = 110; // room for two rows of values beyond the axis
constexpr double plotBottom = 420;
constexpr double shotsLeft = 80;
constexpr double shotsRight = 620;
constexpr double barsLeft = 660;
constexpr double barsRight = 900;
constexpr double legendY = 482;
constexpr double chartHeight = 500;
constexpr double panelTop = 590;
constexpr double panelBottom = 750;
constexpr double panelHeight = 840;

constexpr std::string_view middleDot = " \xC2\xB7 ";

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

struct Series {
    std::vector<LinePoint> best;    // the running best, in steps
    std::vector<LinePoint> average; // the moving average, from its window's last shot
    double last = 0;                // where the last shot or column stands
};

// One point per shot, or with column summaries one per column (at its last shot).
Series seriesAt(std::span<const double> speeds, std::span<const ColumnSummary> columns,
                const Scale& x) {
    const auto best = runningBest(speeds);
    const std::size_t window = averageWindow(speeds.size());
    const auto average = movingAverage(speeds, window);
    Series series;
    const auto add = [&](std::size_t index) {
        const double at = x(static_cast<double>(index + 1));
        if (series.best.empty()) {
            series.best.push_back({at, best[index]});
        } else if (best[index] != series.best.back().value) {
            // Along the old best up to here, then up to the new one.
            series.best.push_back({at, series.best.back().value});
            series.best.push_back({at, best[index]});
        }
        // Before its window is full a point would average fewer shots than the legend says.
        if (index + 1 >= window) {
            series.average.push_back({at, average[index]});
        }
        series.last = at;
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
    // The last step runs on to the last point.
    if (series.best.back().x != series.last) {
        series.best.push_back({series.last, series.best.back().value});
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

// Returns whether the line of the columns' means went beyond the axis.
bool writeColumns(std::ostream& out, std::span<const ColumnSummary> columns, const Scale& x,
                  const SpeedScale& y, std::vector<Mark>& marks, EdgeLabels& labels) {
    std::string ranges;
    std::vector<LinePoint> means;
    for (const auto& column : columns) {
        const double at =
            x((static_cast<double>(column.first) + static_cast<double>(column.last)) / 2);
        // At least a pixel tall, so a column of equal speeds still shows.
        const double top = std::min(y(column.fastest), y(column.slowest) - 1);
        ranges += 'M';
        ranges += coordinate(at) + ' ' + coordinate(y(column.slowest));
        ranges += 'V';
        ranges += coordinate(top);
        means.push_back({at, column.mean});
        if (column.fastest > y.axis.high) {
            marks.push_back({at, column.fastest,
                             "shots " + std::to_string(column.first) + " to " +
                                 std::to_string(column.last) + ": fastest " +
                                 speedText(column.fastest)});
        }
    }
    out << "<path class=\"column-range\" d=\"" << ranges << "\" stroke=\"" << barColour
        << "\" stroke-width=\"1\" stroke-opacity=\"0.55\"/>\n";
    return writeSpeedLine(out, means, y,
                          {.name = "column-mean",
                           .colour = shotColour,
                           .attributes = " stroke-width=\"1\" stroke-opacity=\"0.45\""},
                          labels);
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
        writeText(out, barsLeft + 4, plotTop - 10, "start",
                  std::to_string(above) + " above the axis");
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

// A symbol `width` wide at x, its label after it; x moves on past both.
void writeLegendItem(std::ostream& out, double& x, std::string_view symbol, std::string_view label,
                     double width = 18) {
    out << symbol;
    writeText(out, x + width + 6, legendY + 4, "start", label);
    x += width + 16 + 6.5 * static_cast<double>(label.size());
}

struct LegendContent {
    std::span<const ColumnSummary> columns; // empty: a dot per shot
    std::size_t window = 0;                 // of the moving average
    bool best = false;                      // the best so far has a length
    bool average = false;                   // the moving average has a full window somewhere
    bool marks = false;                     // a shot or column beyond the axis
    bool breaks = false;                    // a line beyond the axis
    bool alongEdge = false;                 // the best so far beyond the axis
};

void writeLegend(std::ostream& out, const LegendContent& content) {
    double x = shotsLeft;
    const std::string at = coordinate(legendY);
    const auto line = [&](std::string_view colour) {
        return "<line x1=\"" + coordinate(x) + "\" y1=\"" + at + "\" x2=\"" + coordinate(x + 18) +
               "\" y2=\"" + at + "\" stroke=\"" + std::string(colour) + "\" stroke-width=\"2\"/>\n";
    };
    if (!content.columns.empty()) {
        writeLegendItem(out, x,
                        "<line x1=\"" + coordinate(x + 9) + "\" y1=\"" + coordinate(legendY - 7) +
                            "\" x2=\"" + coordinate(x + 9) + "\" y2=\"" + coordinate(legendY + 7) +
                            "\" stroke=\"" + std::string(barColour) + "\" stroke-width=\"3\"/>\n",
                        "slowest to fastest of each " + columnLength(content.columns) +
                            " shots, and their mean");
    } else {
        writeLegendItem(out, x,
                        "<circle cx=\"" + coordinate(x + 9) + "\" cy=\"" + at +
                            "\" r=\"3\" fill=\"" + std::string(shotColour) + "\"/>\n",
                        "shot");
    }
    if (content.best) {
        writeLegendItem(out, x, line(bestColour), "best so far");
    }
    if (content.average) {
        writeLegendItem(out, x, line(averageColour),
                        "average of the last " + std::to_string(content.window) + " shots");
    }
    if (content.marks || content.breaks || content.alongEdge) {
        std::string symbols;
        double width = 0;
        if (content.marks) {
            symbols += "<path d=\"M" + coordinate(x + 5) + ' ' + coordinate(legendY + 4) + "H" +
                       coordinate(x + 13) + "L" + coordinate(x + 9) + ' ' +
                       coordinate(legendY - 3) + "Z\" fill=\"" + std::string(shotColour) + "\"/>\n";
            width += 18;
        }
        if (content.breaks) {
            symbols += "<path d=\"" + breakMark(x + width + 9, legendY - 5, 1) +
                       "\" fill=\"none\" stroke=\"" + std::string(shotColour) +
                       "\" stroke-width=\"1.5\"/>\n";
            width += 18;
        }
        if (content.alongEdge) {
            symbols += "<line x1=\"" + coordinate(x + width + 1) + "\" y1=\"" + at + "\" x2=\"" +
                       coordinate(x + width + 17) + "\" y2=\"" + at + "\" stroke=\"" +
                       std::string(bestColour) +
                       "\" stroke-width=\"2\" stroke-dasharray=\"1 3\"/>\n";
            width += 18;
        }
        writeLegendItem(out, x, symbols, "beyond the axis", width);
    }
}

std::string signedNumber(double value) {
    const std::string number = formatNumber(value, 2);
    return number.starts_with('-') ? number : "+" + number;
}

// Two lines: the session's levels, then how its last shots compare with the ones before.
std::array<std::string, 2> headline(const RankedSpeeds& ranked, std::size_t recentCount) {
    const auto speeds = ranked.inOrder();
    const Summary summary = summarize(ranked);
    std::array<std::string, 2> lines;
    lines[0] = std::to_string(summary.shots) + (summary.shots == 1 ? " shot" : " shots") +
               std::string(middleDot) + "fastest " + speedText(summary.fastest) +
               std::string(middleDot) + "median " + speedText(summary.median);
    lines[1] = "mean " + speedText(summary.mean);
    if (speeds.size() > recentCount) {
        const RecentSplit split = splitRecent(ranked, recentCount);
        const double change = split.recent.mean - split.before.mean;
        const std::size_t before = speeds.size() - recentCount;
        lines[1] += std::string(middleDot) + "mean of the last " + std::to_string(recentCount) +
                    " against the " + std::to_string(before) + " before: " + signedNumber(change) +
                    " units/s (" + signedNumber(toKmh(change)) + " km/h)";
    }
    return lines;
}

void writeShotsPlot(std::ostream& out, const RankedSpeeds& ranked, std::size_t recentCount) {
    const auto speeds = ranked.inOrder();
    const SpeedScale y(fitSpeedAxis(ranked.sorted()), {shotsLeft, barsRight, plotTop, plotBottom});
    const auto shots = static_cast<double>(speeds.size());
    const Scale x{0.5, shots + 0.5, shotsLeft, shotsRight};

    const auto lines = headline(ranked, recentCount);
    writeText(out, chartWidth / 2, headlineY, "middle", escaped(lines[0]));
    writeText(out, chartWidth / 2, headlineY + smallText + 4, "middle", escaped(lines[1]));
    writeSpeedAxes(out, y, {shotsLeft, barsRight, plotTop, plotBottom});
    writeShotAxis(out, x, speeds.size());
    writeHistogram(out, speeds, y);
    // After the bars, so that a bar as long as the axis leaves the axis line in sight.
    writeKmhAxis(out, y);

    std::vector<Mark> marks;
    // Clear of the histogram's count of shots above the axis.
    EdgeLabels labels(shotsLeft - 40, barsLeft - 4);
    std::vector<ColumnSummary> columns;
    bool meansBreak = false;
    if (speeds.size() > mostDots) {
        columns = columnSummaries(speeds, static_cast<std::size_t>(shotsRight - shotsLeft));
        meansBreak = writeColumns(out, columns, x, y, marks, labels);
    } else {
        writeDots(out, speeds, x, y, marks);
    }
    // The marks' labels first: the session's fastest shot is among them.
    writeMarks(out, marks, y, labels);
    const Series series = seriesAt(speeds, columns, x);
    const bool bestBeyond = writeSpeedLine(out, series.best, y,
                                           {.name = "best",
                                            .colour = bestColour,
                                            .attributes = " stroke-width=\"2\"",
                                            .alongEdge = true},
                                           labels);
    const bool averageBreaks =
        writeSpeedLine(out, series.average, y,
                       {.name = "average",
                        .colour = averageColour,
                        .attributes = " stroke-width=\"2.5\" stroke-linejoin=\"round\""},
                       labels);
    labels.write(out, y);
    writeLegend(out, {.columns = columns,
                      .window = averageWindow(speeds.size()),
                      .best = series.best.size() > 1,
                      .average = series.average.size() > 1,
                      .marks = !marks.empty(),
                      .breaks = meansBreak || bestBeyond || averageBreaks,
                      .alongEdge = bestBeyond});
}

// At the narrowest the chart keeps its text 10 px high, and scrolls rather than shrinks; printed,
// it lies across the page and fills it.
constexpr std::string_view pageStyle =
    "<style>@page { size: landscape; margin: 5mm } "
    "@media print { svg { width: 100vw; height: 100vh } }</style>\n";

} // namespace

void writeSvgChart(std::ostream& out, const ChartInput& input) {
    const bool panel = input.sessions.size() > 1;
    const std::string width = formatFixed(chartWidth, 0);
    const std::string height = formatFixed(panel ? panelHeight : chartHeight, 0);
    const double minimumWidth = std::ceil(chartWidth * 10 / smallText);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " << width << ' ' << height
        << "\" width=\"100%\" style=\"min-width: " << formatFixed(minimumWidth, 0)
        << "px\" font-family=\"sans-serif\" font-size=\"" << formatFixed(smallText, 0) << "\">\n"
        << "<title>Ball speed by shot</title>\n"
        << pageStyle << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    // With a sessions panel below, the plot above must say which session it shows.
    readLocalZone();
    std::string title = "Ball speed by shot";
    if (panel) {
        const LocalTime newest = localTime(input.sessions.back().time);
        title += ", newest session: " + newest.text + " (" + zoneName(newest.offset) + ")";
    }
    writeText(out, chartWidth / 2, 28, "middle", title, " font-size=\"16\" font-weight=\"bold\"");
    if (input.speeds.inOrder().empty()) {
        writeText(out, chartWidth / 2, headlineY, "middle", "no shots in the newest session");
    } else {
        writeShotsPlot(out, input.speeds, input.recentCount);
    }
    if (panel) {
        writeSessionsPanel(out, input.sessions, input.futureAfter,
                           {shotsLeft, barsRight, panelTop, panelBottom});
    }
    out << "</svg>\n";
}

} // namespace kickmark
