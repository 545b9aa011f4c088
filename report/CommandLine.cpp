#include "CommandLine.h"

#include "NumberText.h"
#include "PathText.h"
#include "VisibleText.h"

#include <cstdint>

namespace kickmark {

const std::string_view usage =
    "usage: kickmark-report [--svg FILE] [--html FILE] [--last N] [--keep DIR] [--every-session]\n"
    "                       SHOTS...\n"
    "       kickmark-report --watch --keep DIR [--svg FILE] [--html FILE] [--last N] SHOTS\n"
    "       kickmark-report --help | --version\n"
    "\n"
    "Summarises the ball speeds in SHOTS, one per line, in units/s and km/h. Each file is one\n"
    "session; a folder stands for every .csv file in it. With several sessions, the newest\n"
    "is summarised, then every session, oldest first: a kept copy by the time in its name,\n"
    "any other file by its modification time.\n"
    "\n"
    "  --svg FILE  also write a chart of the speeds to FILE as SVG\n"
    "  --html FILE also write a page showing the chart to FILE; an open page follows each\n"
    "              new chart by itself\n"
    "  --last N    compare the last N shots with the ones before (default 10)\n"
    "  --keep DIR  first copy each SHOTS file into DIR, named after its modification time\n"
    "              (YYYY-MM-DD-HHMMSS.csv, UTC) unless DIR holds the same session already\n"
    "              (a save that continues the session kept last takes its copy's place),\n"
    "              then report over every session in DIR\n"
    "  --every-session\n"
    "              a row for every session; otherwise beyond 40 sessions the ones before\n"
    "              the last 10 are summarised by month and year\n"
    "  --watch     run until stopped (Ctrl+C): each time SHOTS is saved, keep it in DIR,\n"
    "              redraw the chart and the page, and print a line for the save\n"
    "  --help      show this help\n"
    "  --version   show the version\n";

namespace {

std::size_t parseCount(std::string_view text) {
    const auto count = text::parseWhole(text);
    if (!count || *count == 0 || *count > SIZE_MAX) {
        throw UsageError("--last needs a whole number above 0, not '" + text::visibleText(text) +
                         "'");
    }
    return static_cast<std::size_t>(*count);
}

} // namespace

Options parseCommandLine(std::span<const std::string> arguments) {
    Options options;
    const auto path = [](std::string_view word) {
        auto named = text::pathFromUtf8(word);
        if (!named) {
            throw UsageError(text::unusablePath(word));
        }
        return std::move(*named);
    };
    for (auto argument = arguments.begin(); argument != arguments.end(); ++argument) {
        const std::string_view option = *argument;
        if (option == "--help" || option == "--version") {
            options.help = option == "--help";
            options.version = option == "--version";
            return options;
        }
        if (option == "--watch") {
            options.watch = true;
        } else if (option == "--svg" || option == "--html" || option == "--last" ||
                   option == "--keep") {
            if (++argument == arguments.end()) {
                throw UsageError(std::string(option) + " needs a value");
            }
            if (option == "--svg") {
                options.svgPath = path(*argument);
            } else if (option == "--html") {
                options.htmlPath = path(*argument);
            } else if (option == "--keep") {
                options.keepFolder = path(*argument);
            } else {
                options.recentCount = parseCount(*argument);
            }
        } else if (option == "--every-session") {
            options.everySession = true;
        } else if (option.starts_with('-')) {
            throw UsageError("unknown option " + text::visibleText(option));
        } else {
            options.shotsPaths.push_back(path(option));
        }
    }
    if (options.shotsPaths.empty()) {
        throw UsageError("no shots file given");
    }
    if (options.watch && (!options.keepFolder || options.shotsPaths.size() != 1)) {
        throw UsageError("--watch needs --keep DIR and one shots file");
    }
    if (options.svgPath && options.htmlPath && *options.svgPath == *options.htmlPath) {
        throw UsageError("--svg and --html need two files");
    }
    return options;
}

} // namespace kickmark
