#include "KeptName.h"

#include "UtcTime.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kickmark {

namespace {

constexpr std::int64_t secondsPerDay = 86400;
constexpr std::string_view extension = ".csv";

bool isDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Digits only, and few enough for any value to fit.
std::optional<std::int64_t> numberOf(std::string_view digits) {
    if (!isDigits(digits) || digits.size() > 15) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, the inverse of the
// conversion utcTimeText makes.
std::int64_t daysSinceEpoch(std::int64_t year, std::int64_t month, std::int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// "YYYY-MM-DD-HHMMSS" as utcTimeText writes it, and nothing else: a date that does not exist
// or a number with a digit too many is no kept name.
std::optional<files::FileTime> timeOfText(std::string_view text) {
    constexpr std::size_t afterYear = std::string_view("-MM-DD-HHMMSS").size();
    if (text.size() <= afterYear) {
        return std::nullopt;
    }
    const std::string_view rest = text.substr(text.size() - afterYear);
    std::string_view yearText = text.substr(0, text.size() - afterYear);
    const bool negative = yearText.starts_with('-');
    if (negative) {
        yearText.remove_prefix(1);
    }
    if (rest[0] != '-' || rest[3] != '-' || rest[6] != '-') {
        return std::nullopt;
    }
    const auto year = numberOf(yearText);
    const auto month = numberOf(rest.substr(1, 2));
    const auto day = numberOf(rest.substr(4, 2));
    const auto clock = numberOf(rest.substr(7, 6));
    if (!year || !month || !day || !clock || *month < 1 || *month > 12 || *day < 1 || *day > 31) {
        return std::nullopt;
    }
    const std::int64_t days = daysSinceEpoch(negative ? -*year : *year, *month, *day);
    const std::int64_t secondOfDay = *clock / 10000 * 3600 + *clock / 100 % 100 * 60 + *clock % 100;
    // Before 1970 from the day after, so that the earliest second a file can have fits.
    const bool early = days < 0;
    std::int64_t seconds = 0;
    if (__builtin_mul_overflow(early ? days + 1 : days, secondsPerDay, &seconds) ||
        __builtin_add_overflow(seconds, early ? secondOfDay - secondsPerDay : secondOfDay,
                               &seconds)) {
        return std::nullopt;
    }
    // Whatever does not come back the same (the 30th of February, 24:00:00, a year with a
    // leading zero too many) is not a time keeping could have written.
    const files::FileTime time{seconds, 0};
    if (utcTimeText(time, TimeText::name) != text) {
        return std::nullopt;
    }
    return time;
}

} // namespace

std::filesystem::path keptName(files::FileTime time, int attempt) {
    std::string name = utcTimeText(time, TimeText::name);
    if (attempt > 1) {
        name += '-';
        name += std::to_string(attempt);
    }
    return name + std::string(extension);
}

std::optional<files::FileTime> timeOfKeptName(const std::filesystem::path& name) {
    const std::u8string wide = name.filename().u8string();
    std::string_view text(reinterpret_cast<const char*>(wide.data()), wide.size());
    if (!text.ends_with(extension)) {
        return std::nullopt;
    }
    text.remove_suffix(extension.size());
    if (const auto time = timeOfText(text)) {
        return time;
    }
    // "-N" for the Nth session of one second: 2 and up, as keptName counts.
    const auto dash = text.rfind('-');
    const std::string_view attempt = text.substr(dash == std::string_view::npos ? 0 : dash + 1);
    if (dash == std::string_view::npos || attempt.starts_with('0') || !isDigits(attempt) ||
        attempt == "1") {
        return std::nullopt;
    }
    return timeOfText(text.substr(0, dash));
}

files::FileTime sessionTime(const std::filesystem::path& path, files::FileTime modified) {
    return timeOfKeptName(path).value_or(modified);
}

} // namespace kickmark
