#include "UtcTime.h"

#include <charconv>
#include <cstdint>

namespace kickmark {

namespace {

constexpr std::int64_t secondsPerDay = 86400;

struct CivilDate {
    std::int64_t year;
    unsigned month;
    unsigned day;
};

// Days since 1970-01-01 to a date of the proleptic Gregorian calendar, in whole 400-year eras
// so that no intermediate value overflows for any 64-bit count of seconds.
CivilDate civilDate(std::int64_t days) {
    days += 719468; // from 0000-03-01, so that the leap day ends each year
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

void appendDigits(std::string& text, std::int64_t value, int width) {
    if (value < 0) {
        text += '-';
    }
    char digits[24];
    const char* const end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const char* first = value < 0 ? digits + 1 : digits;
    for (auto length = end - first; length < width; ++length) {
        text += '0';
    }
    text.append(first, end);
}

} // namespace

std::string utcTimeText(files::FileTime time, TimeText form) {
    std::int64_t days = time.seconds / secondsPerDay;
    std::int64_t secondOfDay = time.seconds % secondsPerDay;
    if (secondOfDay < 0) {
        --days;
        secondOfDay += secondsPerDay;
    }
    const CivilDate date = civilDate(days);
    std::string text;
    appendDigits(text, date.year, 4);
    text += '-';
    appendDigits(text, date.month, 2);
    text += '-';
    appendDigits(text, date.day, 2);
    text += form == TimeText::name ? '-' : ' ';
    const char* const separator = form == TimeText::name ? "" : ":";
    appendDigits(text, secondOfDay / 3600, 2);
    text += separator;
    appendDigits(text, secondOfDay / 60 % 60, 2);
    if (form != TimeText::minutes) {
        text += separator;
        appendDigits(text, secondOfDay % 60, 2);
    }
    return text;
}

} // namespace kickmark
