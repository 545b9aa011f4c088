#include "CommandLine.h"
#include "FileOutput.h"
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

constexpr int exit_bad_speed = 1;
constexpr int exit_usage_or_file = 2;

class RefusedChart : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Writing the chart over a shots file would lose the very shots it shows.
void refuse_chart_over_input(const fs::path& chart, std::span<const kickmark::SessionFile> inputs) {
    for (const auto& input : inputs) {
        std::error_code error;
        if (fs::equivalent(chart, input.path, error)) {
            throw RefusedChart("cannot write the chart to " + chart.string() +
                               ": it is the shots file " + input.path.string());
        }
    }
}

std::string report_text(const kickmark::Options& options,
                        std::span<const kickmark::Session> sessions) {
    std::ostringstream out;
    if (sessions.size() == 1) {
        kickmark::write_text_report(out, sessions.front().speeds, options.recent_count);
    } else {
        kickmark::write_sessions_report(out, sessions, options.recent_count);
    }
    return out.str();
}

std::string chart_text(const kickmark::Options& options,
                       std::span<const kickmark::Session> sessions) {
    std::ostringstream out;
    kickmark::write_svg_chart(
        out, {.speeds = sessions.back().speeds,
              .recent_count = options.recent_count,
              .sessions = sessions.size() > 1 ? sessions : std::span<const kickmark::Session>()});
    return out.str();
}

// The whole text at once, and checked: a report lost to a full disk or a closed pipe is a
// failure, not a success.
bool write_standard_output(std::string_view text) {
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
    std::vector<kickmark::SessionFile> inputs = kickmark::find_session_files(options.shots_paths);
    // Every file is read before anything is written, so a bad line keeps nothing and draws
    // nothing.
    std::vector<kickmark::Session> sessions = kickmark::read_sessions(inputs);
    std::string kept;
    if (options.keep_folder) {
        const fs::path folder(*options.keep_folder);
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            if (sessions[i].speeds.empty()) {
                continue;
            }
            const kickmark::Kept copy = kickmark::keep_session(inputs[i].path, folder);
            kept += (copy.copied ? "kept " + inputs[i].path.string() + " as "
                                 : inputs[i].path.string() + " is kept already as ") +
                    copy.path.string() + "\n";
        }
        if (!kept.empty()) {
            kept += '\n';
        }
        const std::vector<std::string> folder_only{*options.keep_folder};
        const auto kept_files = kickmark::find_session_files(folder_only);
        inputs.insert(inputs.end(), kept_files.begin(), kept_files.end());
        sessions = kickmark::read_sessions(kept_files);
    }
    if (options.svg_path) {
        refuse_chart_over_input(*options.svg_path, inputs);
    }
    if (sessions.empty() || (sessions.size() == 1 && sessions.front().speeds.empty())) {
        return write_standard_output(kept + "no shots\n") ? 0 : exit_usage_or_file;
    }
    if (options.svg_path) {
        kickmark::replace_file(*options.svg_path, chart_text(options, sessions));
    }
    return write_standard_output(kept + report_text(options, sessions)) ? 0 : exit_usage_or_file;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    kickmark::Options options;
    try {
        options = kickmark::parse_command_line(arguments);
    } catch (const kickmark::UsageError& error) {
        std::cerr << error.what() << '\n' << kickmark::usage;
        return exit_usage_or_file;
    }
    if (options.help) {
        return write_standard_output(kickmark::usage) ? 0 : exit_usage_or_file;
    }
    try {
        return run(options);
    } catch (const kickmark::NotASpeed& error) {
        std::cerr << error.what() << '\n';
        return exit_bad_speed;
    } catch (const std::runtime_error& error) {
        // Unreadable input, a chart that cannot be written, a session that cannot be kept.
        std::cerr << error.what() << '\n';
        return exit_usage_or_file;
    }
}
