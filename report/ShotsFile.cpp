#include "ShotsFile.h"

#include "VisibleText.h"

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

// A spreadsheet's "CSV UTF-8" export starts the file with this mark.
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool hasNegativeExponent(std::string_view text) {
    const auto exponent = text.find_first_of("eE");
    return exponent != std::string_view::npos && text.substr(exponent + 1).starts_with('-');
}

// The plugin saves 32-bit floats, so anything a float cannot hold was never a measured speed;
// keeping every value in float range also keeps every later sum and square finite. A speed is
// a length: the plugin never saves one below zero ("-0.000000" is zero).
std::optional<double> parseSpeed(std::string_view text) {
    const char* const end = text.data() + text.size();
    float value = 0.0f;
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (stop != end) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        // Too small for a float is a speed of zero; too large is no speed at all.
        return hasNegativeExponent(text) ? std::optional(0.0) : std::nullopt;
    }
    if (error != std::errc{} || !std::isfinite(value) || value < 0.0f) {
        return std::nullopt;
    }
    return static_cast<double>(value);
}

// A speed is a few dozen characters at most. A longer line is refused once this many bytes
// are read, instead of being read on without end (a device such as /dev/zero, say).
constexpr std::streamsize longestLine = 4096;

enum class LineRead { read, end, tooLong };

// One line without its LF, like std::getline, but never more than longestLine bytes of it.
LineRead readLine(std::istream& in, std::string& line) {
    char buffer[longestLine + 1];
    in.getline(buffer, sizeof buffer);
    const auto count = in.gcount();
    if (in.fail() && !in.eof() && count == longestLine) {
        return LineRead::tooLong;
    }
    if (in.fail()) {
        return LineRead::end;
    }
    // Without EOF the LF was extracted too, and counted.
    line.assign(buffer, static_cast<std::size_t>(in.eof() ? count : count - 1));
    return LineRead::read;
}

std::string reasonFromErrno() {
    return errno != 0 ? std::generic_category().message(errno) : "unknown error";
}

} // namespace

std::vector<double> parseShots(std::istream& in, const std::string& name) {
    std::vector<double> speeds;
    std::string line;
    for (std::size_t number = 1;; ++number) {
        const auto read = readLine(in, line);
        if (read == LineRead::end) {
            break;
        }
        if (read == LineRead::tooLong) {
            throw NotASpeed(name + ":" + std::to_string(number) +
                            ": not a speed: a line longer than " + std::to_string(longestLine) +
                            " bytes");
        }
        // Files written on Windows end lines with CRLF; getline only strips the LF.
        if (line.ends_with('\r')) {
            line.pop_back();
        }
        std::string_view text = line;
        if (number == 1 && text.starts_with(byteOrderMark)) {
            text.remove_prefix(byteOrderMark.size());
        }
        text = trim(text);
        if (text.empty()) {
            continue;
        }
        const auto speed = parseSpeed(text);
        if (!speed) {
            throw NotASpeed(name + ":" + std::to_string(number) +
                            ": not a speed: " + visibleText(line));
        }
        speeds.push_back(*speed);
    }
    if (in.bad()) {
        throw CannotRead("cannot read " + name + ": " + reasonFromErrno());
    }
    return speeds;
}

std::vector<double> readShots(const std::string& path) {
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
        throw CannotRead("cannot open " + path + ": " + reasonFromErrno());
    }
    return parseShots(in, path);
}

} // namespace kickmark
