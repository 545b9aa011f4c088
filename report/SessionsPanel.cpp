#include "SessionsPanel.h"

#include "LocalTime.h"
#include "NumberFormat.h"
#include "Statistics.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kickmark {
namespace {

// The lower quartile, median and upper quartile of some sessions' values.
struct Spread {
    double low = 0;
    double middle = 0;
    double high = 0;
};

Spread spreadOf(std::vector<double> values) {
    std::ranges::sort(values);
    return {percentile(values, 0.25), percentile(values, 0.5), percentile(values, 0.75)};
}

struct SessionLevels {
    std::size_t index = 0; // among all sessions
    std::size_t shots = 0;
    double median = 0;
    double fastest = 0;
};

// One place on the panel's x axis: a session, or a run of consecutive sessions with shots.
struct PanelPoint {
    std::size_t first = 0;    // the index of its first session
    std::size_t last = 0;     // and of its last
    std::size_t sessions = 0; // how many of them have shots
    std::size_t shots = 0;
    Spread medians; // of the sessions' medians
    Spread fastest; // of the sessions' fastest shots
    bool newest = false;
    bool best = false;
};

// A session without shots keeps its place.
PanelPoint emptyPoint(std::size_t session) {
    PanelPoint point;
    point.first = point.last = session;
    return point;
}

PanelPoint pointOf(std::span<const SessionLevels> run) {
    PanelPoint point = emptyPoint(run.front().index);
    point.last = run.back().index;
    point.sessions = run.size();
    std::vector<double> medians;
    std::vector<double> fastest;
    for (const SessionLevels& session : run) {
        point.shots += session.shots;
        medians.push_back(session.median);
        fastest.push_back(session.fastest);
    }
    point.medians = spreadOf(std::move(medians));
    point.fastest = spreadOf(std::move(fastest));
    return point;
}

struct Points {
    std::vector<PanelPoint> points;
    std::size_t perRun = 1; // sessions with shots to a run, at most
};

// Up to mostSessionPoints sessions each in its own place, those without shots too; beyond, runs
// of sessions with shots, as long as they may be, with the newest and the best apart.
Points panelPoints(std::span<const Session> sessions) {
    std::vector<SessionLevels> levels;
    for (std::size_t i = 0; i < sessions.size(); ++i) {
        if (!sessions[i].speeds.empty()) {
            const Summary summary =
                sessions[i].summary ? *sessions[i].summary : summarize(sessions[i].speeds);
            levels.push_back({i, summary.shots, summary.median, summary.fastest});
        }
    }
    const std::size_t newest = sessions.size() - 1;
    const auto highest = std::ranges::max_element(levels, {}, &SessionLevels::median);
    const std::size_t best = highest == levels.end() ? newest : highest->index;
    Points result;
    auto& points = result.points;
    if (sessions.size() <= mostSessionPoints) {
        for (std::size_t i = 0, next = 0; i < sessions.size(); ++i) {
            if (next < levels.size() && levels[next].index == i) {
                points.push_back(pointOf(std::span(levels).subspan(next++, 1)));
            } else {
                points.push_back(emptyPoint(i));
            }
        }
    } else {
        result.perRun = (levels.size() + mostSessionPoints - 3) / (mostSessionPoints - 2);
        std::size_t runStart = 0;
        const auto closeRun = [&](std::size_t end) {
            if (end > runStart) {
                points.push_back(pointOf(std::span(levels).subspan(runStart, end - runStart)));
            }
            runStart = end;
        };
        for (std::size_t i = 0; i < levels.size(); ++i) {
            if (levels[i].index == best || levels[i].index == newest) {
                closeRun(i);
                closeRun(i + 1);
            } else if (i + 1 - runStart == result.perRun) {
                closeRun(i + 1);
            }
        }
        closeRun(levels.size());
        if (sessions[newest].speeds.empty()) {
            points.push_back(emptyPoint(newest));
        }
    }
    for (PanelPoint& point : points) {
        point.newest = point.first == newest;
        point.best = point.first == best && point.sessions == 1;
    }
    return result;
}

// Where each point stands, in steps of one point: a step further after a gap of days.
struct Layout {
    std::vector<double> at; // of each point
    double steps = 0;
    struct Gap {
        double at;
        std::int64_t days;
    };
    std::vector<Gap> gaps;
    std::optional<double> now; // where the future starts, when a session is in it
};

Layout layOut(std::span<const Session> sessions, std::span<const PanelPoint> points,
              std::int64_t futureAfter) {
    Layout layout;
    double at = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i > 0) {
            // A day without practice between them is a gap; consecutive days are not.
            const std::int64_t days = localTime(sessions[points[i].first].time).day -
                                      localTime(sessions[points[i - 1].last].time).day;
            at += days > 1 ? 2 : 1;
            if (days > 1) {
                layout.gaps.push_back({at - 1, days});
            }
        }
        if (!layout.now && sessions[points[i].last].time > futureAfter) {
            layout.now = at - 0.5;
        }
        layout.at.push_back(at);
    }
    layout.steps = at + 1;
    return layout;
}

// The zones the sessions' times fall in, as several with daylight saving time.
std::string zonesOf(std::span<const Session> sessions) {
    std::set<std::int64_t> offsets;
    for (const Session& session : sessions) {
        offsets.insert(localTime(session.time).offset);
    }
    std::string names;
    for (const std::int64_t offset : offsets) {
        names += (names.empty() ? "" : ", ") + zoneName(offset);
    }
    return names;
}

std::string dayOf(const std::string& date) {
    return date.substr(0, date.find(' '));
}

std::string timeOf(const std::string& date) {
    const auto space = date.find(' ');
    return space == std::string::npos ? std::string() : date.substr(space + 1);
}

std::string markWords(const PanelPoint& point) {
    return point.newest && point.best ? "newest, best" : point.newest ? "newest" : "best";
}

// Dates under as many points as have room, the newest and the best first, with the time of
// day as well when two of them share a day.
void writeDateLabels(std::ostream& out, std::span<const Session> sessions,
                     std::span<const PanelPoint> points, const Layout& layout, const Scale& x,
                     const PlotArea& area) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i].newest || points[i].best) {
            order.push_back(i);
        }
    }
    const std::size_t every = std::max<std::size_t>(1, (points.size() + 9) / 10);
    for (std::size_t i = 0; i < points.size(); i += every) {
        order.push_back(i);
    }
    constexpr double halfWidth = 0.3 * smallText * 10 + 4; // of "2026-12-08"
    std::vector<std::pair<std::size_t, double>> placed;    // point, centre of its label
    for (const std::size_t i : order) {
        const double centre =
            std::clamp(x(layout.at[i]), area.left + halfWidth, area.right - halfWidth);
        const bool free = std::ranges::none_of(placed, [&](const auto& other) {
            return std::fabs(other.second - centre) < 2 * halfWidth;
        });
        if (free) {
            placed.emplace_back(i, centre);
        }
    }
    std::set<std::string> days;
    bool sameDay = false;
    for (const auto& [i, centre] : placed) {
        sameDay =
            !days.insert(dayOf(localTime(sessions[points[i].first].time).text)).second || sameDay;
    }
    for (const auto& [i, centre] : placed) {
        const double at = x(layout.at[i]);
        const std::string date = localTime(sessions[points[i].first].time).text;
        std::string label = dayOf(date);
        if (sameDay || points[i].newest || points[i].best) {
            label +=
                "<tspan x=\"" + coordinate(centre) + "\" dy=\"13\">" + timeOf(date) + "</tspan>";
        }
        writeLine(out, at, area.bottom, at, area.bottom + 5, "black");
        writeText(out, centre, area.bottom + 18, "middle", label, " class=\"date\"");
        if (points[i].newest || points[i].best) {
            writeText(out, centre, area.bottom + 44, "middle", markWords(points[i]),
                      " class=\"marked\" font-weight=\"bold\"");
        }
    }
}

std::string spreadText(const Spread& spread) {
    return speedText(spread.middle) + " (middle half " + formatNumber(spread.low, 2) + " to " +
           formatNumber(spread.high, 2) + ")";
}

std::string pointTitle(std::span<const Session> sessions, const PanelPoint& point) {
    const std::string shots = std::to_string(point.shots) + (point.shots == 1 ? " shot" : " shots");
    const std::string first = localTime(sessions[point.first].time).text;
    if (point.sessions == 1) {
        const Session& session = sessions[point.first];
        return session.name + ", " + first + ": " + shots + ", median " +
               speedText(point.medians.middle) + ", fastest " + speedText(point.fastest.middle);
    }
    return std::to_string(point.sessions) + " sessions, " + first + " to " +
           localTime(sessions[point.last].time).text + ": " + shots + ", median of the medians " +
           spreadText(point.medians) + ", median of the fastest shots " + spreadText(point.fastest);
}

void writeLegend(std::ostream& out, const PlotArea& area, bool runs) {
    const double at = area.bottom + 70;
    double left = area.left;
    const auto item = [&](std::string_view symbol, std::string_view label) {
        out << symbol;
        writeText(out, left + 24, at, "start", label);
        left += 24 + 0.55 * smallText * static_cast<double>(label.size()) + 20;
    };
    const auto line = [&](std::string_view colour, std::string_view extra) {
        return "<line x1=\"" + coordinate(left) + "\" y1=\"" + coordinate(at - 4) + "\" x2=\"" +
               coordinate(left + 18) + "\" y2=\"" + coordinate(at - 4) + "\" stroke=\"" +
               std::string(colour) + "\" stroke-width=\"2\"" + std::string(extra) + "/>\n";
    };
    item(line(averageColour, ""), runs ? "median of the medians" : "median");
    item(line(bestColour, " stroke-dasharray=\"6 3\""),
         runs ? "median of the fastest shots" : "fastest shot");
    if (runs) {
        item("<line x1=\"" + coordinate(left + 9) + "\" y1=\"" + coordinate(at - 10) + "\" x2=\"" +
                 coordinate(left + 9) + "\" y2=\"" + coordinate(at + 2) + "\" stroke=\"" +
                 std::string(barColour) + "\" stroke-width=\"3\"/>\n",
             "their middle half");
    }
    item("<circle cx=\"" + coordinate(left + 9) + "\" cy=\"" + coordinate(at - 4) +
             "\" r=\"7\" fill=\"none\" stroke=\"black\"/>\n",
         "newest, and best (highest median)");
}

void writeGaps(std::ostream& out, const Layout& layout, const Scale& x, const PlotArea& area) {
    const double step = x(1) - x(0);
    for (const auto& [at, days] : layout.gaps) {
        out << "<rect class=\"gap\" x=\"" << coordinate(x(at) - step / 2) << "\" y=\""
            << coordinate(area.top) << "\" width=\"" << coordinate(step) << "\" height=\""
            << coordinate(area.bottom - area.top) << "\" fill=\"" << gridColour << "\"/>\n";
        // Upright along the gap, where a gap as narrow as a line of text has room for it.
        if (step >= smallText + 2) {
            const double middle = (area.top + area.bottom) / 2;
            writeText(out, x(at) + smallText / 3, middle, "middle", std::to_string(days) + " days",
                      " class=\"gap-days\"" + rotated(-90, x(at) + smallText / 3, middle));
        }
    }
    if (layout.now) {
        const double at = x(*layout.now);
        writeLine(out, at, area.top, at, area.bottom, "black",
                  " class=\"now\" stroke-dasharray=\"4 3\"");
        writeText(out, at - 4, area.top + smallText + 2, "end", "now");
        writeText(out, at + 4, area.top + smallText + 2, "start", "in the future");
    }
}

} // namespace

void writeSessionsPanel(std::ostream& out, std::span<const Session> sessions,
                        std::int64_t futureAfter, const PlotArea& area) {
    const auto [points, perRun] = panelPoints(sessions);
    const bool runs =
        std::ranges::any_of(points, [](const PanelPoint& p) { return p.sessions > 1; });
    std::vector<double> values;
    // Only a positive typical median caps the axis, so 0 stands for none.
    double largestMedian = 0;
    for (const PanelPoint& point : points) {
        if (point.sessions > 0) {
            values.insert(values.end(), {point.medians.low, point.medians.high, point.fastest.low,
                                         point.fastest.high});
            largestMedian = std::max(largestMedian, point.medians.middle);
        }
    }
    std::string title = "<tspan font-weight=\"bold\">Sessions</tspan>, oldest first, local time (" +
                        zonesOf(sessions) + ")";
    title += runs ? ", up to " + std::to_string(perRun) +
                        " to a point: the median of their medians and of their fastest shots"
                  : ": median and fastest shot of each";
    writeText(out, area.left, area.top - 40, "start", title);
    if (values.empty()) {
        return;
    }
    const Layout layout = layOut(sessions, points, futureAfter);
    const SpeedAxis axis = fitCappedAxis(values, largestMedian);
    const SpeedScale y(axis, area);
    const Scale x{-0.5, layout.steps - 0.5, area.left, area.right};
    writeGaps(out, layout, x, area);
    writeSpeedAxes(out, y, area);
    writeLine(out, area.left, area.bottom, area.right, area.bottom, "black");
    writeDateLabels(out, sessions, points, layout, x, area);

    std::vector<LinePoint> medianLine;
    std::vector<LinePoint> fastestLine;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i].sessions > 0) {
            medianLine.push_back({x(layout.at[i]), points[i].medians.middle});
            fastestLine.push_back({x(layout.at[i]), points[i].fastest.middle});
        }
    }
    EdgeLabels labels(area.left - 40, area.right + 40);
    writeSpeedLine(
        out, medianLine, y,
        {.name = "session-median", .colour = averageColour, .attributes = " stroke-width=\"2\""},
        labels);
    writeSpeedLine(out, fastestLine, y,
                   {.name = "session-fastest",
                    .colour = bestColour,
                    .attributes = " stroke-width=\"2\" stroke-dasharray=\"6 3\""},
                   labels);
    std::vector<Mark> marks;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const PanelPoint& point = points[i];
        if (point.sessions == 0) {
            continue;
        }
        const double at = x(layout.at[i]);
        const std::string title = pointTitle(sessions, point);
        out << "<g class=\"" << (point.sessions > 1 ? "session-run" : "session")
            << (point.newest ? " newest" : "") << (point.best ? " best" : "") << "\"><title>"
            << escaped(title) << "</title>\n";
        if (point.sessions > 1) {
            writeLine(out, at - 2, y(point.medians.low), at - 2, y(point.medians.high),
                      averageColour, " stroke-width=\"3\" stroke-opacity=\"0.35\"");
            writeLine(out, at + 2, y(point.fastest.low), at + 2, y(point.fastest.high), bestColour,
                      " stroke-width=\"3\" stroke-opacity=\"0.35\"");
        }
        for (const auto& [value, colour] : {std::pair{point.medians.middle, averageColour},
                                            std::pair{point.fastest.middle, bestColour}}) {
            if (value > axis.high || value < axis.low) {
                marks.push_back({at, value, title});
                continue;
            }
            out << "<circle cx=\"" << coordinate(at) << "\" cy=\"" << coordinate(y(value))
                << "\" r=\"" << (runs ? "3" : "4") << "\" fill=\"" << colour << "\"/>\n";
            if (point.newest || point.best) {
                out << "<circle class=\"ring\" cx=\"" << coordinate(at) << "\" cy=\""
                    << coordinate(y(value)) << "\" r=\"7\" fill=\"none\" stroke=\"black\"/>\n";
            }
        }
        out << "</g>\n";
    }
    writeMarks(out, marks, y, labels);
    labels.write(out, y);
    writeLegend(out, area, runs);
}

} // namespace kickmark
