#include "SessionsPanel.h"

#include "ColumnSummary.h"
#include "NumberFormat.h"
#include "Statistics.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace kickmark {
namespace {

// One place on the panel's x axis: a session, or a run of consecutive sessions.
struct PanelPoint {
    std::size_t first = 0;    // the index of its first session
    std::size_t last = 0;     // and of its last
    std::size_t sessions = 0; // how many of them have shots
    std::size_t shots = 0;
    ColumnSummary medians; // the range and mean of the sessions' medians
    ColumnSummary fastest; // the range of the sessions' fastest shots
};

PanelPoint onePoint(std::size_t session, std::size_t shots, double median, double fastest) {
    return {.first = session,
            .last = session,
            .sessions = 1,
            .shots = shots,
            .medians = {.slowest = median, .fastest = median, .mean = median},
            .fastest = {.slowest = fastest, .fastest = fastest, .mean = fastest}};
}

// Every session in its own place, those without shots too; beyond mostSessionPoints sessions,
// runs of sessions with shots, as equal as can be.
std::vector<PanelPoint> panelPoints(std::span<const Session> sessions) {
    std::vector<std::size_t> withShots;
    std::vector<std::size_t> shots;
    std::vector<double> medians;
    std::vector<double> fastest;
    for (std::size_t i = 0; i < sessions.size(); ++i) {
        if (!sessions[i].speeds.empty()) {
            const Summary summary =
                sessions[i].summary ? *sessions[i].summary : summarize(sessions[i].speeds);
            withShots.push_back(i);
            shots.push_back(summary.shots);
            medians.push_back(summary.median);
            fastest.push_back(summary.fastest);
        }
    }
    std::vector<PanelPoint> points;
    if (sessions.size() <= mostSessionPoints) {
        for (std::size_t i = 0, next = 0; i < sessions.size(); ++i) {
            if (next < withShots.size() && withShots[next] == i) {
                points.push_back(onePoint(i, shots[next], medians[next], fastest[next]));
                ++next;
            } else {
                PanelPoint none;
                none.first = none.last = i;
                points.push_back(none);
            }
        }
        return points;
    }
    if (withShots.empty()) {
        return points;
    }
    const std::size_t perPoint = (withShots.size() + mostSessionPoints - 1) / mostSessionPoints;
    const std::size_t count = (withShots.size() + perPoint - 1) / perPoint;
    const auto medianRuns = columnSummaries(medians, count);
    const auto fastestRuns = columnSummaries(fastest, count);
    for (std::size_t run = 0; run < medianRuns.size(); ++run) {
        const ColumnSummary& range = medianRuns[run];
        PanelPoint point{.first = withShots[range.first - 1],
                         .last = withShots[range.last - 1],
                         .sessions = range.last - range.first + 1,
                         .medians = range,
                         .fastest = fastestRuns[run]};
        for (std::size_t i = range.first - 1; i < range.last; ++i) {
            point.shots += shots[i];
        }
        points.push_back(point);
    }
    return points;
}

std::string dayOf(const std::string& date) {
    return date.substr(0, 10);
}

std::string timeOf(const std::string& date) {
    return date.size() > 11 ? date.substr(11) : std::string();
}

// Dates under about ten points, with the time of day as well when two of them share a day.
void writeDateLabels(std::ostream& out, std::span<const Session> sessions,
                     std::span<const PanelPoint> points, const Scale& x, const PlotArea& area) {
    const std::size_t every = (points.size() + 9) / 10;
    std::set<std::string> days;
    bool sameDay = false;
    for (std::size_t i = 0; i < points.size(); i += every) {
        sameDay = !days.insert(dayOf(sessions[points[i].first].date)).second || sameDay;
    }
    for (std::size_t i = 0; i < points.size(); i += every) {
        const double at = x(static_cast<double>(i));
        const std::string& date = sessions[points[i].first].date;
        std::string label = escaped(dayOf(date));
        if (sameDay) {
            label += "<tspan x=\"" + coordinate(at) + "\" dy=\"13\">" + escaped(timeOf(date)) +
                     "</tspan>";
        }
        writeLine(out, at, area.bottom, at, area.bottom + 5, "black");
        writeText(out, at, area.bottom + 18, "middle", label, " class=\"date\"");
    }
}

std::string pointTitle(std::span<const Session> sessions, const PanelPoint& point) {
    const std::string shots = std::to_string(point.shots) + (point.shots == 1 ? " shot" : " shots");
    if (point.sessions == 1) {
        const Session& session = sessions[point.first];
        return session.name + ", " + session.date + ": " + shots + ", median " +
               speedText(point.medians.mean) + ", fastest " + speedText(point.fastest.fastest);
    }
    return std::to_string(point.sessions) + " sessions, " + sessions[point.first].date + " to " +
           sessions[point.last].date + ": " + shots + ", medians " +
           formatNumber(point.medians.slowest, 2) + " to " +
           formatNumber(point.medians.fastest, 2) + " units/s (mean " +
           formatNumber(point.medians.mean, 2) + "), fastest shots " +
           formatNumber(point.fastest.slowest, 2) + " to " + speedText(point.fastest.fastest);
}

void writeLegend(std::ostream& out, const PlotArea& area, bool runs) {
    const double at = area.bottom + 56;
    const double left = area.left;
    writeLine(out, left, at - 4, left + 18, at - 4, averageColour, " stroke-width=\"2\"");
    writeText(out, left + 24, at, "start", runs ? "mean of the medians" : "median");
    const double next = left + (runs ? 160 : 90);
    writeLine(out, next, at - 4, next + 18, at - 4, bestColour,
              " stroke-width=\"2\" stroke-dasharray=\"6 3\"");
    writeText(out, next + 24, at, "start", "fastest");
    if (runs) {
        const double bars = next + 90;
        writeLine(out, bars + 7, at - 10, bars + 7, at + 2, averageColour,
                  " stroke-width=\"3\" stroke-opacity=\"0.35\"");
        writeLine(out, bars + 11, at - 10, bars + 11, at + 2, bestColour,
                  " stroke-width=\"3\" stroke-opacity=\"0.35\"");
        writeText(out, bars + 24, at, "start", "range of each point's sessions");
    }
}

} // namespace

void writeSessionsPanel(std::ostream& out, std::span<const Session> sessions,
                        const PlotArea& area) {
    const std::vector<PanelPoint> points = panelPoints(sessions);
    const bool runs =
        std::ranges::any_of(points, [](const PanelPoint& p) { return p.sessions > 1; });
    std::vector<double> values;
    // Only a positive typical median caps the axis, so 0 stands for none.
    double largestMedian = 0;
    std::vector<ColumnSummary> medianRuns;
    for (const PanelPoint& point : points) {
        if (point.sessions > 0) {
            values.insert(values.end(), {point.medians.slowest, point.medians.fastest,
                                         point.fastest.slowest, point.fastest.fastest});
            largestMedian = std::max(largestMedian, point.medians.fastest);
            medianRuns.push_back(point.medians);
        }
    }
    std::string title = "<tspan font-weight=\"bold\">Sessions</tspan>, oldest first";
    title += runs ? ", " + columnLength(medianRuns) + " to a point: their median and fastest shot"
                  : ": median and fastest shot of each";
    writeText(out, area.left, area.top - 30, "start", title);
    if (values.empty()) {
        return;
    }
    const SpeedAxis axis = fitCappedAxis(values, largestMedian);
    const SpeedScale y(axis, area);
    const Scale x{-0.5, static_cast<double>(points.size()) - 0.5, area.left, area.right};
    writeSpeedAxes(out, y, area);
    writeLine(out, area.left, area.bottom, area.right, area.bottom, "black");
    writeDateLabels(out, sessions, points, x, area);

    std::vector<LinePoint> medianLine;
    std::vector<LinePoint> fastestLine;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i].sessions > 0) {
            const double at = x(static_cast<double>(i));
            medianLine.push_back({at, points[i].medians.mean});
            fastestLine.push_back({at, points[i].fastest.fastest});
        }
    }
    writeSpeedLine(out, medianLine, y,
                   {.name = "session-median",
                    .colour = averageColour,
                    .attributes = " stroke-width=\"2\"",
                    .valuesLeft = true});
    writeSpeedLine(out, fastestLine, y,
                   {.name = "session-fastest",
                    .colour = bestColour,
                    .attributes = " stroke-width=\"2\" stroke-dasharray=\"6 3\""});

    std::vector<Mark> marks;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const PanelPoint& point = points[i];
        if (point.sessions == 0) {
            continue;
        }
        const double at = x(static_cast<double>(i));
        const std::string title = pointTitle(sessions, point);
        out << "<g class=\"" << (point.sessions > 1 ? "session-run" : "session") << "\"><title>"
            << escaped(title) << "</title>\n";
        if (point.sessions > 1) {
            writeLine(out, at - 2, y(point.medians.slowest), at - 2, y(point.medians.fastest),
                      averageColour, " stroke-width=\"3\" stroke-opacity=\"0.35\"");
            writeLine(out, at + 2, y(point.fastest.slowest), at + 2, y(point.fastest.fastest),
                      bestColour, " stroke-width=\"3\" stroke-opacity=\"0.35\"");
        }
        for (const auto& [value, colour] : {std::pair{point.medians.mean, averageColour},
                                            std::pair{point.fastest.fastest, bestColour}}) {
            if (value > axis.high || value < axis.low) {
                marks.push_back({at, value, title});
                continue;
            }
            out << "<circle cx=\"" << coordinate(at) << "\" cy=\"" << coordinate(y(value))
                << "\" r=\"" << (runs ? "3" : "4") << "\" fill=\"" << colour << "\"/>\n";
        }
        out << "</g>\n";
    }
    writeMarks(out, marks, y);
    writeLegend(out, area, runs);
}

} // namespace kickmark
