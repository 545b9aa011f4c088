#include "CommandLine.h"
#include "FileReplacement.h"
#include "KeepSession.h"
#include "SessionFiles.h"
#include "ShotsFile.h"
#include "SvgChart.h"
#include "TextReport.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int exitBadSpeed = 1;
constexpr int exitUsageOrFile = 2;

class RefusedChart : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Writing the chart over a shots file would lose the very shots it shows.
void refuseChartOverInput(const fs::path& chart, std::span<const kickmark::SessionFile> inputs) {
    for (const auto& input : inputs) {
        std::error_code error;
        if (fs::equivalent(chart, input.path, error)) {
            throw RefusedChart("cannot write the chart to " + chart.string() +
                               ": it is the shots file " + input.path.string());
        }
    }
}

std::string reportText(const kickmark::Options& options,
                       std::span<const kickmark::Session> sessions) {
    std::ostringstream out;
    if (sessions.size() == 1) {
        kickmark::writeTextReport(out, sessions.front().speeds, options.recentCount);
    } else {
        kickmark::writeSessionsReport(out, sessions, options.recentCount);
    }
    return out.str();
}

std::string chartText(const kickmark::Options& options,
                      std::span<const kickmark::Session> sessions) {
    std::ostringstream out;
    kickmark::writeSvgChart(
        out, {.speeds = sessions.back().speeds,
              .recentCount = options.recentCount,
              .sessions = sessions.size() > 1 ? sessions : std::span<const kickmark::Session>()});
    return out.str();
}

// The whole text at once, and checked: a report lost to a full disk or a closed pipe is a
// failure, not a success.
bool writeStandardOutput(std::string_view text) {
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (std::fflush(stdout) == 0 && written) {
        return true;
    }
    std::cerr << "cannot write standard output: "
              << (errno != 0 ? std::generic_category().message(errno) : "unknown error") << '\n';
    return false;
}

int run(const kickmark::Options& options) {
    std::vector<kickmark::SessionFile> inputs = kickmark::findSessionFiles(options.shotsPaths);
    // Every file is read before anything is written, so a bad line keeps nothing and draws
    // nothing.
    std::vector<kickmark::Session> sessions = kickmark::readSessions(inputs);
    std::string kept;
    if (options.keepFolder) {
        const fs::path folder(*options.keepFolder);
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            if (sessions[i].speeds.empty()) {
                continue;
            }
            const kickmark::Kept copy = kickmark::keepSession(inputs[i].path, folder);
            kept += (copy.copied ? "kept " + inputs[i].path.string() + " as "
                                 : inputs[i].path.string() + " is kept already as ") +
                    copy.path.string() + "\n";
        }
        if (!kept.empty()) {
            kept += '\n';
        }
        const std::vector<std::string> folderOnly{*options.keepFolder};
        const auto keptFiles = kickmark::findSessionFiles(folderOnly);
        inputs.insert(inputs.end(), keptFiles.begin(), keptFiles.end());
        sessions = kickmark::readSessions(keptFiles);
    }
    if (options.svgPath) {
        refuseChartOverInput(*options.svgPath, inputs);
    }
    if (sessions.empty() || (sessions.size() == 1 && sessions.front().speeds.empty())) {
        return writeStandardOutput(kept + "no shots\n") ? 0 : exitUsageOrFile;
    }
    if (options.svgPath) {
        if (const auto error =
                kickmark::files::replaceFile(*options.svgPath, chartText(options, sessions))) {
            throw RefusedChart("cannot write " + *options.svgPath + ": " + error.message());
        }
    }
    return writeStandardOutput(kept + reportText(options, sessions)) ? 0 : exitUsageOrFile;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    kickmark::Options options;
    try {
        options = kickmark::parseCommandLine(arguments);
    } catch (const kickmark::UsageError& error) {
        std::cerr << error.what() << '\n' << kickmark::usage;
        return exitUsageOrFile;
    }
    if (options.help) {
        return writeStandardOutput(kickmark::usage) ? 0 : exitUsageOrFile;
    }
    if (options.version) {
        return writeStandardOutput("kickmark-report " KICKMARK_VERSION "\n") ? 0 : exitUsageOrFile;
    }
    try {
        return run(options);
    } catch (const kickmark::NotASpeed& error) {
        std::cerr << error.what() << '\n';
        return exitBadSpeed;
    } catch (const std::runtime_error& error) {
        // Unreadable input, a chart that cannot be written, a session that cannot be kept.
        std::cerr << error.what() << '\n';
        return exitUsageOrFile;
    }
}
