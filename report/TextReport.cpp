#include "TextReport.h"

#include "Histogram.h"
#include "NumberFormat.h"
#include "SpeedUnits.h"
#include "Statistics.h"
#include "VisibleText.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kickmark {
namespace {

constexpr std::size_t label_width = 20;
constexpr std::size_t number_width = 10;
constexpr std::size_t bar_cells = 40;

// Spelled as UTF-8 bytes so the output does not depend on the compiler's execution charset.
constexpr std::string_view full_block = "\xE2\x96\x88";
constexpr std::array<std::string_view, 8> partial_blocks = {
    "",
    "\xE2\x96\x8F", // 1/8
    "\xE2\x96\x8E", // 2/8
    "\xE2\x96\x8D", // 3/8
    "\xE2\x96\x8C", // 4/8
    "\xE2\x96\x8B", // 5/8
    "\xE2\x96\x8A", // 6/8
    "\xE2\x96\x89", // 7/8
};
constexpr std::string_view at_least = "\xE2\x89\xA5"; // ≥, one column wide

std::string pad_right(std::string text, std::size_t width) {
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

std::string speed_text(double value) {
    return format_number(value, 2);
}

std::string change_text(double change) {
    const std::string text = format_number(change, 2);
    return text.starts_with('-') ? text : "+" + text;
}

// Wide enough for the widest text with two spaces before it, so no numbers ever run together;
// ordinary speeds keep the usual width.
std::size_t column_width(std::initializer_list<std::string> texts) {
    std::size_t widest = 0;
    for (const auto& text : texts) {
        widest = std::max(widest, text.size());
    }
    return std::max(number_width, widest + 2);
}

void write_summary(std::ostream& out, const Summary& summary) {
    const std::array<std::pair<std::string_view, double>, 5> rows = {{
        {"fastest", summary.fastest},
        {"mean", summary.mean},
        {"median", summary.median},
        {"90th percentile", summary.percentile_90},
        {"standard deviation", summary.standard_deviation},
    }};
    std::size_t units_width = number_width;
    std::size_t kmh_width = number_width;
    for (const auto& [label, speed] : rows) {
        units_width = std::max(units_width, column_width({speed_text(speed)}));
        kmh_width = std::max(kmh_width, column_width({speed_text(to_kmh(speed))}));
    }
    units_width = std::max(units_width, column_width({std::to_string(summary.shots)}));
    out << pad_right("shots", label_width) << pad_left(std::to_string(summary.shots), units_width)
        << '\n';
    for (const auto& [label, speed] : rows) {
        out << pad_right(std::string(label), label_width)
            << pad_left(speed_text(speed), units_width) << " units/s"
            << pad_left(speed_text(to_kmh(speed)), kmh_width) << " km/h\n";
    }
}

// Eighth-cell resolution keeps small differences between bins visible in a narrow terminal.
std::string bar(std::size_t count, std::size_t largest) {
    auto eighths = (count * bar_cells * 8 + largest / 2) / largest;
    if (count > 0) {
        eighths = std::max<std::size_t>(eighths, 1);
    }
    std::string text;
    for (std::size_t cell = 0; cell < eighths / 8; ++cell) {
        text += full_block;
    }
    return text += partial_blocks[eighths % 8];
}

void write_histogram(std::ostream& out, const Histogram& histogram) {
    const std::size_t rows = histogram.counts.size();
    std::size_t edge_width = 6;
    for (std::size_t bin = 0; bin <= rows; ++bin) {
        edge_width = std::max(edge_width, format_number(histogram.bin_start(bin), 0).size());
    }
    const std::size_t label_columns = 2 * edge_width + 3;
    const std::size_t largest = std::ranges::max(histogram.counts);
    const std::size_t count_width = std::max<std::size_t>(std::to_string(largest).size(), 5);
    out << pad_right("speed (units/s)", label_columns) << "  " << pad_left("shots", count_width)
        << '\n';
    for (std::size_t bin = 0; bin < rows; ++bin) {
        const std::string start = pad_left(format_number(histogram.bin_start(bin), 0), edge_width);
        std::string label;
        if (bin == 0 && histogram.open_below) {
            label = "< " + start + std::string(edge_width + 1, ' ');
        } else if (bin + 1 == rows && histogram.open_above) {
            label = std::string(at_least) + " " + start + std::string(edge_width + 1, ' ');
        } else {
            label = start + " - " +
                    pad_left(format_number(histogram.bin_start(bin) + histogram.bin_width, 0),
                             edge_width);
        }
        const std::size_t count = histogram.counts[bin];
        out << label << "  " << pad_left(std::to_string(count), count_width);
        if (count > 0) {
            out << "  " << bar(count, largest);
        }
        out << '\n';
    }
}

struct Comparison {
    std::string_view label;
    double newer;
    double older;
};

void write_comparison_table(std::ostream& out, std::string_view newer_heading,
                            std::span<const Comparison> rows) {
    std::size_t width = number_width;
    for (const auto& row : rows) {
        for (const double scale : {1.0, kmh_per_unit_per_second}) {
            width = std::max(
                width, column_width({speed_text(row.newer * scale), speed_text(row.older * scale),
                                     change_text((row.newer - row.older) * scale)}));
        }
    }
    out << pad_right("", label_width) << pad_left(std::string(newer_heading), width)
        << pad_left("before", width) << pad_left("change", width) << '\n';
    constexpr std::size_t column = label_width / 2;
    for (const auto& row : rows) {
        for (const double scale : {1.0, kmh_per_unit_per_second}) {
            const bool units = scale == 1.0;
            out << pad_right(units ? std::string(row.label) : "", column)
                << pad_right(units ? "units/s" : "km/h", column)
                << pad_left(speed_text(row.newer * scale), width)
                << pad_left(speed_text(row.older * scale), width)
                << pad_left(change_text((row.newer - row.older) * scale), width) << '\n';
        }
    }
}

void write_comparison(std::ostream& out, std::string_view newer_heading, const Summary& newer,
                      const Summary& older) {
    const std::array<Comparison, 3> rows = {{
        {"mean", newer.mean, older.mean},
        {"median", newer.median, older.median},
        {"fastest", newer.fastest, older.fastest},
    }};
    write_comparison_table(out, newer_heading, rows);
}

void write_recent_comparison(std::ostream& out, std::span<const double> speeds,
                             std::size_t recent_count) {
    if (speeds.size() <= recent_count) {
        out << "no shots before the last " << std::to_string(recent_count) << " to compare with\n";
        return;
    }
    const auto split = speeds.size() - recent_count;
    out << "last " << std::to_string(recent_count) << " against the " << std::to_string(split)
        << " before\n";
    write_comparison(out, "last", summarize(speeds.subspan(split)), summarize(speeds.first(split)));
}

void write_session_rows(std::ostream& out, std::span<const Session> sessions) {
    std::size_t name_width = 0;
    std::size_t shots_width = 7;
    std::size_t width = number_width;
    std::vector<Summary> summaries;
    std::vector<std::string> labels;
    for (const auto& session : sessions) {
        // A file name may hold anything, terminal control sequences included.
        labels.push_back(session.date + "  " + visible_text(session.name));
        name_width = std::max(name_width, labels.back().size());
        shots_width = std::max(shots_width, std::to_string(session.speeds.size()).size() + 2);
        summaries.push_back(session.speeds.empty() ? Summary{} : summarize(session.speeds));
        const Summary& s = summaries.back();
        for (const double scale : {1.0, kmh_per_unit_per_second}) {
            width = std::max(
                width,
                column_width({speed_text(s.fastest * scale), speed_text(s.mean * scale),
                              speed_text(s.median * scale), speed_text(s.percentile_90 * scale)}));
        }
    }
    out << pad_right("sessions, oldest first", name_width + 2 + 8) << pad_left("shots", shots_width)
        << pad_left("fastest", width) << pad_left("mean", width) << pad_left("median", width)
        << pad_left("90th pct", width) << '\n';
    for (std::size_t i = 0; i < sessions.size(); ++i) {
        const Summary& s = summaries[i];
        out << pad_right(labels[i], name_width) << "  " << pad_right("units/s", 8)
            << pad_left(std::to_string(s.shots), shots_width);
        if (s.shots == 0) {
            out << '\n';
            continue;
        }
        for (const double value : {s.fastest, s.mean, s.median, s.percentile_90}) {
            out << pad_left(speed_text(value), width);
        }
        out << '\n'
            << pad_right("", name_width + 2) << pad_right("km/h", 8) << pad_right("", shots_width);
        for (const double value : {s.fastest, s.mean, s.median, s.percentile_90}) {
            out << pad_left(speed_text(to_kmh(value)), width);
        }
        out << '\n';
    }
}

void write_newest_comparison(std::ostream& out, std::span<const Session> sessions) {
    const auto& newest = sessions.back().speeds;
    std::vector<double> before;
    std::size_t sessions_before = 0;
    for (const auto& session : sessions.first(sessions.size() - 1)) {
        before.insert(before.end(), session.speeds.begin(), session.speeds.end());
        sessions_before += session.speeds.empty() ? 0 : 1;
    }
    if (newest.empty() || before.empty()) {
        out << "no shots in " << (newest.empty() ? "the newest session" : "the sessions before it")
            << " to compare with\n";
        return;
    }
    out << "newest session against the " << std::to_string(before.size()) << " shots of the "
        << std::to_string(sessions_before) << (sessions_before == 1 ? " session" : " sessions")
        << " before\n";
    write_comparison(out, "newest", summarize(newest), summarize(before));
}

} // namespace

void write_text_report(std::ostream& out, std::span<const double> speeds,
                       std::size_t recent_count) {
    write_summary(out, summarize(speeds));
    out << '\n';
    write_histogram(out, make_histogram(speeds));
    out << '\n';
    write_recent_comparison(out, speeds, recent_count);
}

void write_sessions_report(std::ostream& out, std::span<const Session> sessions,
                           std::size_t recent_count) {
    const Session& newest = sessions.back();
    out << "newest session: " << visible_text(newest.name) << ", " << newest.date << " UTC\n";
    if (newest.speeds.empty()) {
        out << "no shots\n";
    } else {
        write_text_report(out, newest.speeds, recent_count);
    }
    out << '\n';
    write_session_rows(out, sessions);
    out << '\n';
    write_newest_comparison(out, sessions);
}

} // namespace kickmark
