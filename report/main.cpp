#include "CommandLine.h"
#include "CommandLineWords.h"
#include "FileReplacement.h"
#include "HtmlPage.h"
#include "KeepFolder.h"
#include "PathText.h"
#include "ReportOutput.h"
#include "SessionFiles.h"
#include "ShotsFile.h"
#include "Statistics.h"
#include "TextReport.h"
#include "UtcTime.h"
#include "Watch.h"

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <optional>
#include <span>
#include <sstream>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace files = kickmark::files;

constexpr int exitBadSpeed = 1;
constexpr int exitUsageOrFile = 2;

class RefusedChart : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Writing the chart over a shots file would lose the very shots it shows.
void refuseChartOverInput(const fs::path& chart, std::span<const kickmark::SessionFile> inputs,
                          std::span<const kickmark::SessionFile> kept) {
    files::FileStatus status;
    if (files::fileStatus(chart, status)) {
        return;
    }
    for (const auto list : {inputs, kept}) {
        for (const auto& input : list) {
            if (input.status.id == status.id) {
                throw RefusedChart("cannot write the chart to " +
                                   kickmark::text::visiblePath(chart) + ": it is the shots file " +
                                   kickmark::text::visiblePath(input.path));
            }
        }
    }
}

// A session dated later than now would pass for the newest until then, and once kept, for good.
void warnOfFutureDates(std::span<const kickmark::SessionFile> sessions) {
    const files::FileTime now = files::currentTime();
    for (const auto& session : sessions) {
        if (session.time.seconds > now.seconds + kickmark::clockSlackSeconds) {
            std::cerr << kickmark::text::visiblePath(session.path) << " is dated "
                      << kickmark::utcTimeText(session.time, kickmark::TimeText::seconds)
                      << " UTC, in the future: it counts as newer than every session until then\n";
        }
    }
}

std::string reportText(const kickmark::Options& options,
                       std::span<const kickmark::Session> sessions,
                       const kickmark::RankedSpeeds& newest) {
    std::ostringstream out;
    if (sessions.size() == 1) {
        kickmark::writeTextReport(out, newest, options.recentCount);
    } else {
        kickmark::writeSessionsReport(out, sessions, newest, options.recentCount,
                                      options.everySession);
    }
    return out.str();
}

void writeChart(const std::optional<fs::path>& path, const std::string& bytes) {
    if (path) {
        if (const auto error = files::replaceFile(*path, bytes)) {
            throw RefusedChart("cannot write " + kickmark::text::visiblePath(*path) + ": " +
                               error.message());
        }
    }
}

int run(const kickmark::Options& options) {
    std::vector<kickmark::SessionFile> inputs = kickmark::readSessionFiles(
        kickmark::findSessionFiles(options.shotsPaths),
        options.keepFolder ? kickmark::LineEnd::required : kickmark::LineEnd::optional);
    // Every session, the folder's too, is read and checked before the first copy; a run that
    // fails after it takes its copies away again.
    std::optional<kickmark::KeepFolder> folder;
    std::string kept;
    std::vector<kickmark::SessionFile> keptSessions;
    if (options.keepFolder) {
        folder.emplace(*options.keepFolder);
        for (const auto& line : folder->leftOut()) {
            std::cerr << line << '\n';
        }
        kept = folder->keep(inputs);
        if (!kept.empty()) {
            kept += '\n';
        }
        keptSessions = folder->takeSessions();
    }
    for (const auto& output : {options.svgPath, options.htmlPath}) {
        if (output) {
            refuseChartOverInput(*output, inputs, keptSessions);
        }
    }
    std::vector<kickmark::SessionFile> reported =
        folder ? std::move(keptSessions) : std::move(inputs);
    warnOfFutureDates(reported);
    const std::vector<kickmark::Session> sessions = kickmark::sessionsOf(std::move(reported));
    std::string text;
    std::optional<std::string> chart;
    std::optional<std::string> page;
    if (sessions.empty() || (sessions.size() == 1 && sessions.front().speeds.empty())) {
        text = kept + "no shots\n";
    } else {
        // Sorted once for the chart and the report alike.
        const kickmark::RankedSpeeds newest(sessions.back().speeds);
        if (options.svgPath || options.htmlPath) {
            chart = kickmark::chartText(sessions, newest, options.recentCount,
                                        files::currentTime().seconds + kickmark::clockSlackSeconds);
        }
        if (options.htmlPath) {
            page = kickmark::htmlPage("Kickmark: " + sessions.back().name, *chart);
        }
        text = kept + reportText(options, sessions, newest);
    }
    if (!kickmark::writeStandardOutput(text)) {
        return exitUsageOrFile;
    }
    // Last, so that a run that fails leaves the chart and page from before: they show the
    // sessions of the folder as it is.
    if (chart) {
        writeChart(options.svgPath, *chart);
    }
    if (page) {
        writeChart(options.htmlPath, *page);
    }
    if (folder) {
        folder->commit();
    }
    return 0;
}

int runWords(const std::vector<std::string>& words) {
    kickmark::Options options;
    try {
        options = kickmark::parseCommandLine(words);
    } catch (const kickmark::UsageError& error) {
        std::cerr << error.what() << '\n' << kickmark::usage;
        return exitUsageOrFile;
    }
    if (options.help) {
        return kickmark::writeStandardOutput(kickmark::usage) ? 0 : exitUsageOrFile;
    }
    if (options.version) {
        return kickmark::writeStandardOutput("kickmark-report " KICKMARK_VERSION "\n")
                   ? 0
                   : exitUsageOrFile;
    }
    try {
        return options.watch ? kickmark::watch(options) : run(options);
    } catch (const kickmark::NotASpeed& error) {
        std::cerr << error.what() << '\n';
        return exitBadSpeed;
    } catch (const std::runtime_error& error) {
        // Unreadable input, a chart that cannot be written, a session that cannot be kept.
        std::cerr << error.what() << '\n';
        return exitUsageOrFile;
    }
}

} // namespace

#if defined(_WIN32)
// Wide arguments, so that paths outside the ANSI code page arrive intact.
int wmain(int argc, wchar_t** argv) {
    return runWords(kickmark::text::commandLineWords(argc, argv));
}
#else
int main(int argc, char** argv) {
    return runWords(kickmark::text::commandLineWords(argc, argv));
}
#endif
