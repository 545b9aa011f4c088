#include "TextReport.h"

#include "Histogram.h"
#include "NumberFormat.h"
#include "SessionRows.h"
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

constexpr std::size_t labelWidth = 20;
constexpr std::size_t numberWidth = 10;
constexpr std::size_t barCells = 40;

// Spelled as UTF-8 bytes so the output does not depend on the compiler's execution charset.
constexpr std::string_view fullBlock = "\xE2\x96\x88";
constexpr std::array<std::string_view, 8> partialBlocks = {
    "",
    "\xE2\x96\x8F", // 1/8
    "\xE2\x96\x8E", // 2/8
    "\xE2\x96\x8D", // 3/8
    "\xE2\x96\x8C", // 4/8
    "\xE2\x96\x8B", // 5/8
    "\xE2\x96\x8A", // 6/8
    "\xE2\x96\x89", // 7/8
};
constexpr std::string_view atLeast = "\xE2\x89\xA5"; // ≥, one column wide

std::string padRight(std::string text, std::size_t width) {
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

std::string speedText(double value) {
    return formatNumber(value, 2);
}

std::string changeText(double change) {
    const std::string text = formatNumber(change, 2);
    return text.starts_with('-') ? text : "+" + text;
}

// Wide enough for the widest text with two spaces before it, so no numbers ever run together;
// ordinary speeds keep the usual width.
std::size_t columnWidth(std::initializer_list<std::string> texts) {
    std::size_t widest = 0;
    for (const auto& text : texts) {
        widest = std::max(widest, text.size());
    }
    return std::max(numberWidth, widest + 2);
}

void writeSummary(std::ostream& out, const Summary& summary) {
    const std::array<std::pair<std::string_view, double>, 5> rows = {{
        {"fastest", summary.fastest},
        {"mean", summary.mean},
        {"median", summary.median},
        {"90th percentile", summary.percentile90},
        {"standard deviation", summary.standardDeviation},
    }};
    std::size_t unitsWidth = numberWidth;
    std::size_t kmhWidth = numberWidth;
    for (const auto& [label, speed] : rows) {
        unitsWidth = std::max(unitsWidth, columnWidth({speedText(speed)}));
        kmhWidth = std::max(kmhWidth, columnWidth({speedText(toKmh(speed))}));
    }
    unitsWidth = std::max(unitsWidth, columnWidth({std::to_string(summary.shots)}));
    out << padRight("shots", labelWidth) << padLeft(std::to_string(summary.shots), unitsWidth)
        << '\n';
    for (const auto& [label, speed] : rows) {
        out << padRight(std::string(label), labelWidth) << padLeft(speedText(speed), unitsWidth)
            << " units/s" << padLeft(speedText(toKmh(speed)), kmhWidth) << " km/h\n";
    }
}

// Eighth-cell resolution keeps small differences between bins visible in a narrow terminal.
std::string bar(std::size_t count, std::size_t largest) {
    auto eighths = (count * barCells * 8 + largest / 2) / largest;
    if (count > 0) {
        eighths = std::max<std::size_t>(eighths, 1);
    }
    std::string text;
    for (std::size_t cell = 0; cell < eighths / 8; ++cell) {
        text += fullBlock;
    }
    return text += partialBlocks[eighths % 8];
}

void writeHistogram(std::ostream& out, const Histogram& histogram) {
    const std::size_t rows = histogram.counts.size();
    std::size_t edgeWidth = 6;
    for (std::size_t bin = 0; bin <= rows; ++bin) {
        edgeWidth = std::max(edgeWidth, formatNumber(histogram.binStart(bin), 0).size());
    }
    const std::size_t labelColumns = 2 * edgeWidth + 3;
    const std::size_t largest = std::ranges::max(histogram.counts);
    const std::size_t countWidth = std::max<std::size_t>(std::to_string(largest).size(), 5);
    out << padRight("speed (units/s)", labelColumns) << "  " << padLeft("shots", countWidth)
        << '\n';
    for (std::size_t bin = 0; bin < rows; ++bin) {
        const std::string start = padLeft(formatNumber(histogram.binStart(bin), 0), edgeWidth);
        std::string label;
        if (bin == 0 && histogram.openBelow) {
            label = "< " + start + std::string(edgeWidth + 1, ' ');
        } else if (bin + 1 == rows && histogram.openAbove) {
            label = std::string(atLeast) + " " + start + std::string(edgeWidth + 1, ' ');
        } else {
            label =
                start + " - " +
                padLeft(formatNumber(histogram.binStart(bin) + histogram.binWidth, 0), edgeWidth);
        }
        const std::size_t count = histogram.counts[bin];
        out << label << "  " << padLeft(std::to_string(count), countWidth);
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

void writeComparisonTable(std::ostream& out, std::string_view newerHeading,
                          std::span<const Comparison> rows) {
    std::size_t width = numberWidth;
    for (const auto& row : rows) {
        for (const double scale : {1.0, kmhPerUnitPerSecond}) {
            width = std::max(
                width, columnWidth({speedText(row.newer * scale), speedText(row.older * scale),
                                    changeText((row.newer - row.older) * scale)}));
        }
    }
    out << padRight("", labelWidth) << padLeft(std::string(newerHeading), width)
        << padLeft("before", width) << padLeft("change", width) << '\n';
    constexpr std::size_t column = labelWidth / 2;
    for (const auto& row : rows) {
        for (const double scale : {1.0, kmhPerUnitPerSecond}) {
            const bool units = scale == 1.0;
            out << padRight(units ? std::string(row.label) : "", column)
                << padRight(units ? "units/s" : "km/h", column)
                << padLeft(speedText(row.newer * scale), width)
                << padLeft(speedText(row.older * scale), width)
                << padLeft(changeText((row.newer - row.older) * scale), width) << '\n';
        }
    }
}

void writeComparison(std::ostream& out, std::string_view newerHeading, const Summary& newer,
                     const Summary& older) {
    const std::array<Comparison, 3> rows = {{
        {"mean", newer.mean, older.mean},
        {"median", newer.median, older.median},
        {"fastest", newer.fastest, older.fastest},
    }};
    writeComparisonTable(out, newerHeading, rows);
}

void writeRecentComparison(std::ostream& out, const RankedSpeeds& ranked, std::size_t recentCount) {
    const auto speeds = ranked.inOrder();
    if (speeds.size() <= recentCount) {
        out << "no shots before the last " << std::to_string(recentCount) << " to compare with\n";
        return;
    }
    const auto split = speeds.size() - recentCount;
    out << "last " << std::to_string(recentCount) << " against the " << std::to_string(split)
        << " before\n";
    const RecentSplit summaries = splitRecent(ranked, recentCount);
    writeComparison(out, "last", summaries.recent, summaries.before);
}

// A run's shots together, as one session of them.
Summary summaryOf(std::span<const Session> sessions) {
    std::vector<double> speeds;
    for (const auto& session : sessions) {
        speeds.insert(speeds.end(), session.speeds.begin(), session.speeds.end());
    }
    return speeds.empty() ? Summary{} : summarize(speeds);
}

void writeSessionRows(std::ostream& out, std::span<const Session> sessions, bool everySession) {
    const auto rows = sessionRows(sessions, everySession);
    if (rows.size() < sessions.size()) {
        out << std::to_string(sessions.size()) << " sessions, those before the last "
            << std::to_string(recentSessionRows)
            << " by month and year (--every-session lists each)\n";
    }
    std::size_t nameWidth = 0;
    std::size_t shotsWidth = 7;
    std::size_t width = numberWidth;
    std::vector<Summary> summaries;
    std::vector<std::string> labels;
    for (const auto& row : rows) {
        const Session& first = sessions[row.first];
        // A file name may hold anything, terminal control sequences included.
        labels.push_back(row.months.empty()
                             ? first.date + "  " + text::visibleText(first.name)
                             : row.months + "  " + std::to_string(row.count) + " sessions");
        nameWidth = std::max(nameWidth, labels.back().size());
        summaries.push_back(summaryOf(sessions.subspan(row.first, row.count)));
        const Summary& s = summaries.back();
        shotsWidth = std::max(shotsWidth, std::to_string(s.shots).size() + 2);
        for (const double scale : {1.0, kmhPerUnitPerSecond}) {
            width =
                std::max(width, columnWidth({speedText(s.fastest * scale),
                                             speedText(s.mean * scale), speedText(s.median * scale),
                                             speedText(s.percentile90 * scale)}));
        }
    }
    out << padRight("sessions, oldest first", nameWidth + 2 + 8) << padLeft("shots", shotsWidth)
        << padLeft("fastest", width) << padLeft("mean", width) << padLeft("median", width)
        << padLeft("90th pct", width) << '\n';
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Summary& s = summaries[i];
        out << padRight(labels[i], nameWidth) << "  " << padRight("units/s", 8)
            << padLeft(std::to_string(s.shots), shotsWidth);
        if (s.shots == 0) {
            out << '\n';
            continue;
        }
        for (const double value : {s.fastest, s.mean, s.median, s.percentile90}) {
            out << padLeft(speedText(value), width);
        }
        out << '\n'
            << padRight("", nameWidth + 2) << padRight("km/h", 8) << padRight("", shotsWidth);
        for (const double value : {s.fastest, s.mean, s.median, s.percentile90}) {
            out << padLeft(speedText(toKmh(value)), width);
        }
        out << '\n';
    }
}

void writeNewestComparison(std::ostream& out, std::span<const Session> sessions) {
    const auto& newest = sessions.back().speeds;
    std::vector<double> before;
    std::size_t sessionsBefore = 0;
    for (const auto& session : sessions.first(sessions.size() - 1)) {
        before.insert(before.end(), session.speeds.begin(), session.speeds.end());
        sessionsBefore += session.speeds.empty() ? 0 : 1;
    }
    if (newest.empty() || before.empty()) {
        out << "no shots in " << (newest.empty() ? "the newest session" : "the sessions before it")
            << " to compare with\n";
        return;
    }
    out << "newest session against the " << std::to_string(before.size()) << " shots of the "
        << std::to_string(sessionsBefore) << (sessionsBefore == 1 ? " session" : " sessions")
        << " before\n";
    writeComparison(out, "newest", summarize(newest), summarize(before));
}

} // namespace

void writeTextReport(std::ostream& out, const RankedSpeeds& speeds, std::size_t recentCount) {
    writeSummary(out, summarize(speeds));
    out << '\n';
    writeHistogram(out, makeHistogram(speeds));
    out << '\n';
    writeRecentComparison(out, speeds, recentCount);
}

void writeSessionsReport(std::ostream& out, std::span<const Session> sessions,
                         const RankedSpeeds& newest, std::size_t recentCount, bool everySession) {
    const Session& session = sessions.back();
    out << "newest session: " << text::visibleText(session.name) << ", " << session.date
        << " UTC\n";
    if (newest.inOrder().empty()) {
        out << "no shots\n";
    } else {
        writeTextReport(out, newest, recentCount);
    }
    out << '\n';
    writeSessionRows(out, sessions, everySession);
    out << '\n';
    writeNewestComparison(out, sessions);
}

} // namespace kickmark
