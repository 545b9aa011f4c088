#include "CommandLine.h"

#include <charconv>

namespace kickmark {

const std::string_view usage =
    "usage: kickmark-report [--svg FILE] [--last N] [--keep DIR] [--every-session] SHOTS...\n"
    "       kickmark-report --help | --version\n"
    "\n"
    "Summarises the ball speeds in SHOTS, one per line, in units/s and km/h. Each file is one\n"
    "session; a folder stands for every .csv file in it. With several sessions, the newest\n"
    "(by modification time) is summarised, then every session, oldest first.\n"
    "\n"
    "  --svg FILE  also write a chart of the speeds to FILE as SVG\n"
    "  --last N    compare the last N shots with the ones before (default 10)\n"
    "  --keep DIR  first copy each SHOTS file into DIR, named after its modification time\n"
    "              (YYYY-MM-DD-HHMMSS.csv, UTC) unless DIR holds the same session already,\n"
    "              then report over every session in DIR\n"
    "  --every-session\n"
    "              a row for every session; otherwise beyond 40 sessions the ones before\n"
    "              the last 10 are summarised by month and year\n"
    "  --help      show this help\n"
    "  --version   show the version\n";

namespace {

std::size_t parseCount(std::string_view text) {
    std::size_t count = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, count);
    if (error != std::errc{} || stop != end || count == 0) {
        throw UsageError("--last needs a whole number above 0, not '" + std::string(text) + "'");
    }
    return count;
}

} // namespace

Options parseCommandLine(std::span<const std::string_view> arguments) {
    Options options;
    for (auto argument = arguments.begin(); argument != arguments.end(); ++argument) {
        const std::string_view option = *argument;
        if (option == "--help" || option == "--version") {
            options.help = option == "--help";
            options.version = option == "--version";
            return options;
        }
        if (option == "--svg" || option == "--last" || option == "--keep") {
            if (++argument == arguments.end()) {
                throw UsageError(std::string(option) + " needs a value");
            }
            if (option == "--svg") {
                options.svgPath = std::string(*argument);
            } else if (option == "--keep") {
                options.keepFolder = std::string(*argument);
            } else {
                options.recentCount = parseCount(*argument);
            }
        } else if (option == "--every-session") {
            options.everySession = true;
        } else if (option.starts_with('-')) {
            throw UsageError("unknown option " + std::string(option));
        } else {
            options.shotsPaths.emplace_back(option);
        }
    }
    if (options.shotsPaths.empty()) {
        throw UsageError("no shots file given");
    }
    return options;
}

} // namespace kickmark
