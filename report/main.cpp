#include "command_line.h"
#include "shots_file.h"
#include "svg_chart.h"
#include "text_report.h"

#include <cerrno>
#include <fstream>
#include <iostream>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

constexpr int exit_bad_speed = 1;
constexpr int exit_usage_or_file = 2;

int run(const kickmark::Options& options) {
    std::vector<double> speeds;
    try {
        speeds = kickmark::read_shots(options.shots_path);
    } catch (const kickmark::NotASpeed& error) {
        std::cerr << error.what() << '\n';
        return exit_bad_speed;
    } catch (const kickmark::CannotRead& error) {
        std::cerr << error.what() << '\n';
        return exit_usage_or_file;
    }
    if (speeds.empty()) {
        std::cout << "no shots\n";
        return 0;
    }
    // Opened before anything is printed, so a bad chart path fails without a half-done report.
    std::ofstream chart;
    if (options.svg_path) {
        errno = 0;
        chart.open(*options.svg_path, std::ios::binary);
        if (!chart) {
            std::cerr << "cannot write " << *options.svg_path << ": "
                      << std::generic_category().message(errno) << '\n';
            return exit_usage_or_file;
        }
    }
    kickmark::write_text_report(std::cout, speeds, options.recent_count);
    if (chart.is_open()) {
        kickmark::write_svg_chart(chart, speeds);
        chart.close();
        if (!chart) {
            std::cerr << "cannot write " << *options.svg_path << '\n';
            return exit_usage_or_file;
        }
    }
    return 0;
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
        std::cout << kickmark::usage;
        return 0;
    }
    return run(options);
}
