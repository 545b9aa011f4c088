#include "text_report.h"

#include "histogram.h"
#include "number_format.h"
#include "speed_units.h"
#include "statistics.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

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

std::string pad_right(std::string text, std::size_t width) {
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

std::string speed_column(double value) {
    return pad_left(format_fixed(value, 2), number_width);
}

std::string change_column(double change) {
    const std::string text = format_fixed(change, 2);
    return pad_left(text.starts_with('-') ? text : "+" + text, number_width);
}

void write_statistic(std::ostream& out, std::string_view label, double speed) {
    out << pad_right(std::string(label), label_width) << speed_column(speed) << " units/s"
        << speed_column(to_kmh(speed)) << " km/h\n";
}

void write_summary(std::ostream& out, const Summary& summary) {
    out << pad_right("shots", label_width) << pad_left(std::to_string(summary.shots), number_width)
        << '\n';
    write_statistic(out, "fastest", summary.fastest);
    write_statistic(out, "mean", summary.mean);
    write_statistic(out, "median", summary.median);
    write_statistic(out, "90th percentile", summary.percentile_90);
    write_statistic(out, "standard deviation", summary.standard_deviation);
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
    const std::size_t largest = std::ranges::max(histogram.counts);
    const std::size_t count_width = std::max<std::size_t>(std::to_string(largest).size(), 5);
    out << "speed (units/s)  " << pad_left("shots", count_width) << '\n';
    for (std::size_t bin = 0; bin < histogram.counts.size(); ++bin) {
        const double start = histogram.bin_start(bin);
        const std::size_t count = histogram.counts[bin];
        out << pad_left(format_fixed(start, 0), 6) << " - "
            << pad_left(format_fixed(start + histogram.bin_width, 0), 6) << "  "
            << pad_left(std::to_string(count), count_width);
        if (count > 0) {
            out << "  " << bar(count, largest);
        }
        out << '\n';
    }
}

void write_comparison_line(std::ostream& out, std::string_view label, std::string_view unit,
                           double recent, double before) {
    constexpr std::size_t column = label_width / 2;
    out << pad_right(std::string(label), column) << pad_right(std::string(unit), column)
        << speed_column(recent) << speed_column(before) << change_column(recent - before) << '\n';
}

void write_comparison(std::ostream& out, std::string_view label, double recent, double before) {
    write_comparison_line(out, label, "units/s", recent, before);
    write_comparison_line(out, "", "km/h", to_kmh(recent), to_kmh(before));
}

void write_recent_comparison(std::ostream& out, std::span<const double> speeds,
                             std::size_t recent_count) {
    if (speeds.size() <= recent_count) {
        out << "no shots before the last " << std::to_string(recent_count) << " to compare with\n";
        return;
    }
    const auto split = speeds.size() - recent_count;
    const Summary before = summarize(speeds.first(split));
    const Summary recent = summarize(speeds.subspan(split));
    out << "last " << std::to_string(recent_count) << " against the " << std::to_string(split)
        << " before\n"
        << pad_right("", label_width) << pad_left("last", number_width)
        << pad_left("before", number_width) << pad_left("change", number_width) << '\n';
    write_comparison(out, "mean", recent.mean, before.mean);
    write_comparison(out, "median", recent.median, before.median);
    write_comparison(out, "fastest", recent.fastest, before.fastest);
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

} // namespace kickmark
