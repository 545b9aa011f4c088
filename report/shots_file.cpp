#include "shots_file.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>

namespace kickmark {
namespace {

bool is_blank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

std::optional<double> parse_speed(std::string_view text) {
    double value = 0.0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string reason_from_errno() {
    return errno != 0 ? std::generic_category().message(errno) : "unknown error";
}

} // namespace

std::vector<double> parse_shots(std::istream& in, const std::string& name) {
    std::vector<double> speeds;
    std::string line;
    for (std::size_t number = 1; std::getline(in, line); ++number) {
        // Files written on Windows end lines with CRLF; getline only strips the LF.
        if (line.ends_with('\r')) {
            line.pop_back();
        }
        if (is_blank(line)) {
            continue;
        }
        const auto speed = parse_speed(line);
        if (!speed) {
            throw NotASpeed(name + ":" + std::to_string(number) + ": not a speed: " + line);
        }
        speeds.push_back(*speed);
    }
    if (in.bad()) {
        throw CannotRead("cannot read " + name + ": " + reason_from_errno());
    }
    return speeds;
}

std::vector<double> read_shots(const std::string& path) {
    // Opening a directory succeeds on some systems and only fails on the first read, with a
    // less helpful message.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        throw CannotRead("cannot open " + path + ": " +
                         std::make_error_code(std::errc::is_a_directory).message());
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw CannotRead("cannot open " + path + ": " + reason_from_errno());
    }
    return parse_shots(in, path);
}

} // namespace kickmark
