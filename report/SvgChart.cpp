#include "SvgChart.h"

#include "ChartScales.h"
#include "ColumnSummary.h"
#include "NumberFormat.h"
#include "SpeedUnits.h"
#include "Statistics.h"
#include "VisibleText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kickmark {
namespace {

constexpr double chart_width = 1000;
constexpr double plot_top = 90;
constexpr double plot_bottom = 400;
constexpr double shots_left = 80;
constexpr double shots_right = 620;
constexpr double bars_left = 660;
constexpr double bars_right = 900;
constexpr double legend_y = 462;
constexpr double chart_height = 480;
constexpr double panel_top = 540;
constexpr double panel_bottom = 700;
constexpr double panel_height = 770;

// Okabe and Ito's palette: blue and vermillion stay apart under every common colour-vision
// deficiency, and the shots stay neutral grey beneath them.
constexpr std::string_view shot_colour = "#4d4d4d";
constexpr std::string_view bar_colour = "#9e9e9e";
constexpr std::string_view best_colour = "#D55E00";
constexpr std::string_view average_colour = "#0072B2";
constexpr std::string_view grid_colour = "#e6e6e6";

constexpr std::string_view middle_dot = " \xC2\xB7 ";

struct Scale {
    double domain_low;
    double domain_high;
    double range_low;
    double range_high;

    double operator()(double value) const {
        return range_low +
               (value - domain_low) / (domain_high - domain_low) * (range_high - range_low);
    }
};

// Keeps everything drawn inside the plot: values beyond the axis sit on its edge.
struct SpeedScale {
    SpeedAxis axis;
    Scale scale;
    double operator()(double speed) const { return scale(std::clamp(speed, axis.low, axis.high)); }
};

std::string coordinate(double value) {
    return format_fixed(value, 1);
}

std::string escaped(std::string_view text) {
    std::string xml;
    for (const char c : visible_text(text)) {
        switch (c) {
        case '&':
            xml += "&amp;";
            break;
        case '<':
            xml += "&lt;";
            break;
        case '>':
            xml += "&gt;";
            break;
        case '"':
            xml += "&quot;";
            break;
        default:
            xml += c;
        }
    }
    return xml;
}

// Huge values in three significant digits, so a label never runs off the chart.
std::string short_number(double value, double step) {
    if (std::fabs(value) >= 1e7) {
        std::array<char, 32> buffer{};
        const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                                std::chars_format::general, 3);
        return std::string(buffer.data(), error == std::errc{} ? end : buffer.data());
    }
    const int decimals = step < 1 ? static_cast<int>(std::ceil(-std::log10(step))) : 0;
    return format_fixed(value, std::clamp(decimals, 0, 6));
}

std::string speed_text(double speed) {
    return format_number(speed, 2) + " units/s (" + format_number(to_kmh(speed), 2) + " km/h)";
}

void write_text(std::ostream& out, double x, double y, std::string_view anchor,
                std::string_view xml_text, std::string_view extra = "") {
    out << "<text x=\"" << coordinate(x) << "\" y=\"" << coordinate(y) << "\" text-anchor=\""
        << anchor << '"' << extra << '>' << xml_text << "</text>\n";
}

void write_line(std::ostream& out, double x1, double y1, double x2, double y2,
                std::string_view stroke, std::string_view extra = "") {
    out << "<line x1=\"" << coordinate(x1) << "\" y1=\"" << coordinate(y1) << "\" x2=\""
        << coordinate(x2) << "\" y2=\"" << coordinate(y2) << "\" stroke=\"" << stroke << '"'
        << extra << "/>\n";
}

std::string rotated(double degrees, double x, double y) {
    return " transform=\"rotate(" + format_fixed(degrees, 0) + ' ' + coordinate(x) + ' ' +
           coordinate(y) + ")\"";
}

void write_speed_axes(std::ostream& out, const SpeedScale& y, double left, double right, double top,
                      double bottom) {
    for (const double speed : axis_ticks(y.axis.low, y.axis.high, y.axis.step)) {
        write_line(out, left, y(speed), right, y(speed), grid_colour);
        write_text(out, left - 6, y(speed) + 4, "end", short_number(speed, y.axis.step));
    }
    const double middle = (top + bottom) / 2;
    write_text(out, 22, middle, "middle", "speed (units/s)", rotated(-90, 22, middle));
    write_line(out, left, top, left, bottom, "black");
}

void write_kmh_axis(std::ostream& out, const SpeedScale& y) {
    const auto ticks = kmh_ticks(y.axis);
    const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : 1.0;
    for (const double kmh : ticks) {
        const double at = y(kmh / kmh_per_unit_per_second);
        write_line(out, bars_right, at, bars_right + 5, at, "black");
        write_text(out, bars_right + 8, at + 4, "start", short_number(kmh, step));
    }
    const double middle = (plot_top + plot_bottom) / 2;
    write_text(out, chart_width - 18, middle, "middle", "speed (km/h)",
               rotated(90, chart_width - 18, middle));
    write_line(out, bars_right, plot_top, bars_right, plot_bottom, "black");
}

void write_shot_axis(std::ostream& out, const Scale& x, std::size_t shots) {
    const double step = std::max(1.0, round_step(static_cast<double>(shots), 6));
    for (const double shot : axis_ticks(step, static_cast<double>(shots), step)) {
        write_line(out, x(shot), plot_bottom, x(shot), plot_bottom + 5, "black");
        write_text(out, x(shot), plot_bottom + 18, "middle", format_fixed(shot, 0));
    }
    write_line(out, shots_left, plot_bottom, shots_right, plot_bottom, "black");
    write_text(out, (shots_left + shots_right) / 2, plot_bottom + 36, "middle", "shot number");
}

struct Mark {
    double x;
    double speed;
    std::string title;
};

// Shots beyond the axis: a triangle on the edge each, and their speeds written above as far as
// they fit side by side.
void write_marks(std::ostream& out, std::span<const Mark> marks, const SpeedScale& y) {
    double free_from = -1e9;
    for (const Mark& mark : marks) {
        const bool above = mark.speed > y.axis.high;
        const double edge = above ? y(y.axis.high) : y(y.axis.low);
        const double tip = above ? edge - 7 : edge + 7;
        out << "<path class=\"beyond\" d=\"M" << coordinate(mark.x - 4) << ' ' << coordinate(edge)
            << "H" << coordinate(mark.x + 4) << "L" << coordinate(mark.x) << ' ' << coordinate(tip)
            << "Z\" fill=\"" << shot_colour << "\"><title>" << escaped(mark.title)
            << "</title></path>\n";
        if (above && mark.x >= free_from) {
            write_text(out, mark.x, tip - 4, "middle", short_number(mark.speed, 1),
                       " font-size=\"10\"");
            free_from = mark.x + 60;
        }
    }
}

std::string steps_path(std::span<const double> xs, std::span<const double> values,
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

std::string polyline_points(std::span<const double> xs, std::span<const double> values,
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
Series series_at(std::span<const double> speeds, std::span<const ColumnSummary> columns,
                 const Scale& x) {
    const auto best = running_best(speeds);
    const auto average = moving_average(speeds, average_window(speeds.size()));
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

void write_dots(std::ostream& out, std::span<const double> speeds, const Scale& x,
                const SpeedScale& y, std::vector<Mark>& marks) {
    const std::size_t n = speeds.size();
    const std::string_view radius = n <= 200 ? "3" : n <= 1000 ? "2" : "1.3";
    const std::string_view opacity = n <= 200 ? "0.7" : n <= 1000 ? "0.45" : "0.3";
    out << "<g class=\"shots\" fill=\"" << shot_colour << "\" fill-opacity=\"" << opacity
        << "\">\n";
    for (std::size_t i = 0; i < n; ++i) {
        const double speed = speeds[i];
        const std::string title = "shot " + std::to_string(i + 1) + ": " + speed_text(speed);
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

void write_columns(std::ostream& out, std::span<const ColumnSummary> columns, const Scale& x,
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
                                 speed_text(column.fastest)});
        }
    }
    means.pop_back();
    out << "<path class=\"column-range\" d=\"" << ranges << "\" stroke=\"" << bar_colour
        << "\" stroke-width=\"1\" stroke-opacity=\"0.55\"/>\n"
        << "<polyline class=\"column-mean\" fill=\"none\" stroke=\"" << shot_colour
        << "\" stroke-width=\"1\" stroke-opacity=\"0.45\" points=\"" << means << "\"/>\n";
}

void write_histogram(std::ostream& out, std::span<const double> speeds, const SpeedScale& y) {
    const SpeedAxis& axis = y.axis;
    const double width = std::max(500.0, round_step(axis.high - axis.low, 20));
    const auto bins = static_cast<std::size_t>(std::ceil((axis.high - axis.low) / width));
    std::vector<std::size_t> counts(bins, 0);
    std::size_t above = 0;
    for (const double speed : speeds) {
        if (speed >= axis.high || speed < axis.low) {
            above += speed >= axis.high ? 1 : 0;
            continue;
        }
        const auto bin = static_cast<std::size_t>(std::floor((speed - axis.low) / width));
        ++counts[std::min(bin, bins - 1)];
    }
    const auto largest = static_cast<double>(std::max<std::size_t>(1, std::ranges::max(counts)));
    const double count_step = std::max(1.0, round_step(largest, 4));
    const double count_top = std::ceil(largest / count_step) * count_step;
    const Scale x{0, count_top, bars_left, bars_right};
    out << "<g class=\"histogram\" fill=\"" << bar_colour << "\" stroke=\"white\">\n";
    for (std::size_t bin = 0; bin < bins; ++bin) {
        const double start = axis.low + static_cast<double>(bin) * width;
        const double top = y(start + width);
        out << "<rect class=\"bin\" x=\"" << coordinate(bars_left) << "\" y=\"" << coordinate(top)
            << "\" width=\"" << coordinate(x(static_cast<double>(counts[bin])) - bars_left)
            << "\" height=\"" << coordinate(y(start) - top) << "\"/>\n";
    }
    out << "</g>\n";
    if (above > 0) {
        write_text(out, bars_left + 4, plot_top - 6, "start",
                   std::to_string(above) + " above the axis", " font-size=\"10\"");
    }
    for (const double count : axis_ticks(0, count_top, count_step)) {
        write_line(out, x(count), plot_bottom, x(count), plot_bottom + 5, "black");
        write_text(out, x(count), plot_bottom + 18, "middle", format_fixed(count, 0));
    }
    write_line(out, bars_left, plot_top, bars_left, plot_bottom, "black");
    write_line(out, bars_left, plot_bottom, bars_right, plot_bottom, "black");
    write_text(out, (bars_left + bars_right) / 2, plot_bottom + 36, "middle",
               "shots per " + short_number(width, width) + " units/s");
}

void write_legend_item(std::ostream& out, double& x, std::string_view symbol,
                       std::string_view label) {
    out << symbol;
    write_text(out, x + 24, legend_y + 4, "start", label);
    x += 34 + 6.5 * static_cast<double>(label.size());
}

void write_legend(std::ostream& out, bool columns, std::size_t column_width, std::size_t window,
                  bool any_marks) {
    double x = shots_left;
    const std::string at = coordinate(legend_y);
    const auto line = [&](std::string_view colour, std::string_view extra = "") {
        return "<line x1=\"" + coordinate(x) + "\" y1=\"" + at + "\" x2=\"" + coordinate(x + 18) +
               "\" y2=\"" + at + "\" stroke=\"" + std::string(colour) + "\" stroke-width=\"2\"" +
               std::string(extra) + "/>\n";
    };
    if (columns) {
        write_legend_item(out, x,
                          "<line x1=\"" + coordinate(x + 9) + "\" y1=\"" +
                              coordinate(legend_y - 7) + "\" x2=\"" + coordinate(x + 9) +
                              "\" y2=\"" + coordinate(legend_y + 7) + "\" stroke=\"" +
                              std::string(bar_colour) + "\" stroke-width=\"3\"/>\n",
                          "slowest to fastest of each " + std::to_string(column_width) +
                              " shots, and their mean");
    } else {
        write_legend_item(out, x,
                          "<circle cx=\"" + coordinate(x + 9) + "\" cy=\"" + at +
                              "\" r=\"3\" fill=\"" + std::string(shot_colour) + "\"/>\n",
                          "shot");
    }
    write_legend_item(out, x, line(best_colour), "best so far");
    write_legend_item(out, x, line(average_colour),
                      "average of the last " + std::to_string(window) + " shots");
    if (any_marks) {
        write_legend_item(out, x,
                          "<path d=\"M" + coordinate(x + 5) + ' ' + coordinate(legend_y + 4) + "H" +
                              coordinate(x + 13) + "L" + coordinate(x + 9) + ' ' +
                              coordinate(legend_y - 3) + "Z\" fill=\"" + std::string(shot_colour) +
                              "\"/>\n",
                          "beyond the axis");
    }
}

std::string headline(std::span<const double> speeds, std::size_t recent_count) {
    const Summary summary = summarize(speeds);
    std::string text = std::to_string(summary.shots) + (summary.shots == 1 ? " shot" : " shots") +
                       std::string(middle_dot) + "fastest " + speed_text(summary.fastest) +
                       std::string(middle_dot) + "mean " + format_number(summary.mean, 2) +
                       " units/s";
    if (speeds.size() > recent_count) {
        const auto split = speeds.size() - recent_count;
        const double change =
            summarize(speeds.subspan(split)).mean - summarize(speeds.first(split)).mean;
        const std::string number = format_number(change, 2);
        text += std::string(middle_dot) + "last " + std::to_string(recent_count) + ": mean " +
                (number.starts_with('-') ? number : "+" + number) + " units/s";
    }
    return text;
}

void write_shots_plot(std::ostream& out, std::span<const double> speeds, std::size_t recent_count) {
    std::vector<double> sorted(speeds.begin(), speeds.end());
    std::ranges::sort(sorted);
    const SpeedAxis axis = fit_speed_axis(sorted);
    const SpeedScale y{axis, {axis.low, axis.high, plot_bottom, plot_top}};
    const auto shots = static_cast<double>(speeds.size());
    const Scale x{0.5, shots + 0.5, shots_left, shots_right};

    write_text(out, chart_width / 2, 50, "middle", escaped(headline(speeds, recent_count)));
    write_speed_axes(out, y, shots_left, bars_right, plot_top, plot_bottom);
    write_kmh_axis(out, y);
    write_shot_axis(out, x, speeds.size());
    write_histogram(out, speeds, y);

    std::vector<Mark> marks;
    std::vector<ColumnSummary> columns;
    if (speeds.size() > most_dots) {
        columns = column_summaries(speeds, static_cast<std::size_t>(shots_right - shots_left));
        write_columns(out, columns, x, y, marks);
    } else {
        write_dots(out, speeds, x, y, marks);
    }
    const Series series = series_at(speeds, columns, x);
    out << "<path class=\"best\" fill=\"none\" stroke=\"" << best_colour
        << "\" stroke-width=\"2\" d=\"" << steps_path(series.xs, series.best, y) << "\"/>\n"
        << "<polyline class=\"average\" fill=\"none\" stroke=\"" << average_colour
        << "\" stroke-width=\"2.5\" stroke-linejoin=\"round\" points=\""
        << polyline_points(series.xs, series.average, y) << "\"/>\n";
    write_marks(out, marks, y);
    write_legend(out, !columns.empty(), columns.empty() ? 1 : speeds.size() / columns.size(),
                 average_window(speeds.size()), !marks.empty());
}

void write_sessions_panel(std::ostream& out, std::span<const Session> sessions) {
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
    write_text(out, shots_left, panel_top - 16, "start",
               "<tspan font-weight=\"bold\">Sessions</tspan>, oldest first: median and fastest "
               "shot of each");
    if (values.empty()) {
        return;
    }
    const SpeedAxis axis = fit_capped_axis(values, std::ranges::max(medians));
    const SpeedScale y{axis, {axis.low, axis.high, panel_bottom, panel_top}};
    const Scale x{-0.5, static_cast<double>(sessions.size()) - 0.5, shots_left, bars_right};
    write_speed_axes(out, y, shots_left, bars_right, panel_top, panel_bottom);
    write_line(out, shots_left, panel_bottom, bars_right, panel_bottom, "black");

    const std::size_t label_every = (sessions.size() + 9) / 10;
    std::string median_points;
    std::string fastest_points;
    std::vector<Mark> marks;
    for (std::size_t i = 0; i < sessions.size(); ++i) {
        const double at = x(static_cast<double>(i));
        if (i % label_every == 0) {
            write_line(out, at, panel_bottom, at, panel_bottom + 5, "black");
            write_text(out, at, panel_bottom + 18, "middle",
                       escaped(sessions[i].date.substr(0, 10)));
        }
        if (!summaries[i]) {
            continue;
        }
        const Summary& s = *summaries[i];
        median_points += coordinate(at) + "," + coordinate(y(s.median)) + " ";
        fastest_points += coordinate(at) + "," + coordinate(y(s.fastest)) + " ";
        const std::string title = escaped(
            sessions[i].name + ", " + sessions[i].date + ": " + std::to_string(s.shots) +
            " shots, median " + speed_text(s.median) + ", fastest " + speed_text(s.fastest));
        for (const auto& [value, colour] :
             {std::pair{s.median, average_colour}, std::pair{s.fastest, best_colour}}) {
            out << "<circle class=\"session\" cx=\"" << coordinate(at) << "\" cy=\""
                << coordinate(y(value)) << "\" r=\"4\" fill=\"" << colour << "\"><title>" << title
                << "</title></circle>\n";
        }
        if (s.fastest > axis.high) {
            marks.push_back(
                {at, s.fastest, sessions[i].name + ": fastest " + speed_text(s.fastest)});
        }
    }
    median_points.pop_back();
    fastest_points.pop_back();
    out << "<polyline class=\"session-median\" fill=\"none\" stroke=\"" << average_colour
        << "\" stroke-width=\"2\" points=\"" << median_points << "\"/>\n"
        << "<polyline class=\"session-fastest\" fill=\"none\" stroke=\"" << best_colour
        << "\" stroke-width=\"2\" stroke-dasharray=\"6 3\" points=\"" << fastest_points << "\"/>\n";
    write_marks(out, marks, y);
    const double legend = panel_bottom + 48;
    write_line(out, shots_left, legend - 4, shots_left + 18, legend - 4, average_colour,
               " stroke-width=\"2\"");
    write_text(out, shots_left + 24, legend, "start", "median");
    write_line(out, shots_left + 90, legend - 4, shots_left + 108, legend - 4, best_colour,
               " stroke-width=\"2\" stroke-dasharray=\"6 3\"");
    write_text(out, shots_left + 114, legend, "start", "fastest");
}

} // namespace

void write_svg_chart(std::ostream& out, const ChartInput& input) {
    const bool panel = input.sessions.size() > 1;
    const std::string width = format_fixed(chart_width, 0);
    const std::string height = format_fixed(panel ? panel_height : chart_height, 0);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " << width << ' ' << height
        << "\" width=\"100%\" font-family=\"sans-serif\" font-size=\"12\">\n"
        << "<title>Ball speed by shot</title>\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    write_text(out, chart_width / 2, 28, "middle", "Ball speed by shot",
               " font-size=\"16\" font-weight=\"bold\"");
    if (input.speeds.empty()) {
        write_text(out, chart_width / 2, 50, "middle", "no shots in the newest session");
    } else {
        write_shots_plot(out, input.speeds, input.recent_count);
    }
    if (panel) {
        write_sessions_panel(out, input.sessions);
    }
    out << "</svg>\n";
}

} // namespace kickmark
