#include "svg_chart.h"

#include "histogram.h"
#include "number_format.h"
#include "speed_units.h"
#include "statistics.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace kickmark {
namespace {

constexpr std::size_t average_window = 10;

constexpr double chart_width = 1000;
constexpr double chart_height = 480;
constexpr double plot_top = 60;
constexpr double plot_bottom = 380;
constexpr double shots_left = 80;
constexpr double shots_right = 620;
constexpr double bars_left = 660;
constexpr double bars_right = 900;

constexpr std::string_view shot_colour = "#1f77b4";
constexpr std::string_view best_colour = "#d62728";
constexpr std::string_view average_colour = "#ff7f0e";

struct Axis {
    double low;
    double high;
    double step;
};

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

// Steps of 1, 2 or 5 times a power of ten give tick labels people read at a glance.
double round_step(double span, double wanted_ticks) {
    const double raw = span / wanted_ticks;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double multiple : {1.0, 2.0, 5.0}) {
        if (multiple * magnitude >= raw) {
            return multiple * magnitude;
        }
    }
    return 10.0 * magnitude;
}

Axis widen_to_step(double low, double high, double step) {
    return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

std::vector<double> ticks(double low, double high, double step) {
    std::vector<double> values;
    const double first = std::ceil(low / step);
    for (double index = first; index * step <= high + step * 1e-9; ++index) {
        values.push_back(index * step);
    }
    return values;
}

std::string coordinate(double value) {
    return format_fixed(value, 1);
}

std::string point_list(std::span<const double> values, const Scale& x, const Scale& y) {
    std::string points;
    for (std::size_t i = 0; i < values.size(); ++i) {
        points += coordinate(x(static_cast<double>(i + 1))) + "," + coordinate(y(values[i])) + " ";
    }
    points.pop_back();
    return points;
}

void write_text(std::ostream& out, double x, double y, std::string_view anchor,
                std::string_view text, int rotation = 0) {
    out << "<text x=\"" << coordinate(x) << "\" y=\"" << coordinate(y) << "\" text-anchor=\""
        << anchor << '"';
    if (rotation != 0) {
        out << " transform=\"rotate(" << std::to_string(rotation) << ' ' << coordinate(x) << ' '
            << coordinate(y) << ")\"";
    }
    out << '>' << text << "</text>\n";
}

void write_line(std::ostream& out, double x1, double y1, double x2, double y2,
                std::string_view stroke, int stroke_width = 1) {
    out << "<line x1=\"" << coordinate(x1) << "\" y1=\"" << coordinate(y1) << "\" x2=\""
        << coordinate(x2) << "\" y2=\"" << coordinate(y2) << "\" stroke=\"" << stroke
        << "\" stroke-width=\"" << std::to_string(stroke_width) << "\"/>\n";
}

void write_speed_axes(std::ostream& out, const Axis& axis, const Scale& y) {
    for (const double speed : ticks(axis.low, axis.high, axis.step)) {
        write_line(out, shots_left, y(speed), bars_right, y(speed), "#e0e0e0");
        write_text(out, shots_left - 6, y(speed) + 4, "end", format_fixed(speed, 0));
        write_text(out, bars_right + 6, y(speed) + 4, "start", format_fixed(to_kmh(speed), 0));
    }
    const double middle = (plot_top + plot_bottom) / 2;
    write_text(out, 24, middle, "middle", "speed (units/s)", -90);
    write_text(out, chart_width - 20, middle, "middle", "speed (km/h)", 90);
    write_line(out, shots_left, plot_top, shots_left, plot_bottom, "black");
    write_line(out, bars_left, plot_top, bars_left, plot_bottom, "black");
}

void write_shot_axis(std::ostream& out, const Axis& axis, const Scale& x) {
    for (const double shot : ticks(axis.low, axis.high, axis.step)) {
        write_line(out, x(shot), plot_bottom, x(shot), plot_bottom + 5, "black");
        write_text(out, x(shot), plot_bottom + 18, "middle", format_fixed(shot, 0));
    }
    write_line(out, shots_left, plot_bottom, shots_right, plot_bottom, "black");
    write_text(out, (shots_left + shots_right) / 2, plot_bottom + 38, "middle", "shot number");
}

void write_histogram(std::ostream& out, const Histogram& histogram, const Scale& y) {
    const auto largest = static_cast<double>(std::ranges::max(histogram.counts));
    const Axis axis = widen_to_step(0, largest, std::max(1.0, round_step(largest, 4)));
    const Scale x{0, axis.high, bars_left, bars_right};
    for (std::size_t bin = 0; bin < histogram.counts.size(); ++bin) {
        const double start = histogram.bin_start(bin);
        const double top = y(start + histogram.bin_width);
        out << "<rect class=\"bin\" x=\"" << coordinate(bars_left) << "\" y=\"" << coordinate(top)
            << "\" width=\""
            << coordinate(x(static_cast<double>(histogram.counts[bin])) - bars_left)
            << "\" height=\"" << coordinate(y(start) - top) << "\" fill=\"" << shot_colour
            << "\" fill-opacity=\"0.6\" stroke=\"white\"/>\n";
    }
    for (const double count : ticks(axis.low, axis.high, axis.step)) {
        write_line(out, x(count), plot_bottom, x(count), plot_bottom + 5, "black");
        write_text(out, x(count), plot_bottom + 18, "middle", format_fixed(count, 0));
    }
    write_line(out, bars_left, plot_bottom, bars_right, plot_bottom, "black");
    write_text(out, (bars_left + bars_right) / 2, plot_bottom + 38, "middle",
               "shots per " + format_fixed(histogram.bin_width, 0) + " units/s");
}

void write_series(std::ostream& out, std::span<const double> speeds, const Scale& x,
                  const Scale& y) {
    out << "<polyline class=\"average\" fill=\"none\" stroke=\"" << average_colour
        << "\" stroke-width=\"2\" points=\""
        << point_list(moving_average(speeds, average_window), x, y) << "\"/>\n";
    out << "<polyline class=\"best\" fill=\"none\" stroke=\"" << best_colour
        << "\" stroke-width=\"2\" points=\"" << point_list(running_best(speeds), x, y) << "\"/>\n";
    for (std::size_t i = 0; i < speeds.size(); ++i) {
        const auto number = static_cast<double>(i + 1);
        out << "<circle class=\"shot\" cx=\"" << coordinate(x(number)) << "\" cy=\""
            << coordinate(y(speeds[i])) << "\" r=\"3\" fill=\"" << shot_colour
            << "\" fill-opacity=\"0.7\"><title>shot " << std::to_string(i + 1) << ": "
            << format_fixed(speeds[i], 2) << " units/s, " << format_fixed(to_kmh(speeds[i]), 2)
            << " km/h</title></circle>\n";
    }
}

void write_legend(std::ostream& out) {
    const double y = chart_height - 24;
    out << "<circle cx=\"" << coordinate(shots_left + 5) << "\" cy=\"" << coordinate(y - 4)
        << "\" r=\"3\" fill=\"" << shot_colour << "\"/>\n";
    write_text(out, shots_left + 14, y, "start", "shot");
    write_line(out, shots_left + 70, y - 4, shots_left + 90, y - 4, best_colour, 2);
    write_text(out, shots_left + 96, y, "start", "best so far");
    write_line(out, shots_left + 190, y - 4, shots_left + 210, y - 4, average_colour, 2);
    write_text(out, shots_left + 216, y, "start",
               "average of the last " + std::to_string(average_window) + " shots");
}

} // namespace

void write_svg_chart(std::ostream& out, std::span<const double> speeds) {
    const Histogram histogram = make_histogram(speeds);
    const double bins_end = histogram.bin_start(histogram.counts.size());
    const double lowest = std::min(0.0, histogram.first_bin_start);
    const Axis speed_axis = widen_to_step(lowest, bins_end, round_step(bins_end - lowest, 6));
    const Scale y{speed_axis.low, speed_axis.high, plot_bottom, plot_top};

    const auto shots = static_cast<double>(speeds.size());
    const Axis shot_axis{0.5, shots + 0.5, std::max(1.0, round_step(shots, 6))};
    const Scale x{shot_axis.low, shot_axis.high, shots_left, shots_right};

    const std::string width = format_fixed(chart_width, 0);
    const std::string height = format_fixed(chart_height, 0);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
        << "\" viewBox=\"0 0 " << width << ' ' << height
        << "\" font-family=\"sans-serif\" font-size=\"12\">\n"
        << "<title>Ball speed by shot</title>\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    write_text(out, chart_width / 2, 30, "middle", "Ball speed by shot");
    write_speed_axes(out, speed_axis, y);
    write_shot_axis(out, shot_axis, x);
    write_histogram(out, histogram, y);
    write_series(out, speeds, x, y);
    write_legend(out);
    out << "</svg>\n";
}

} // namespace kickmark
