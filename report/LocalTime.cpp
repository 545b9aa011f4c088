#include "LocalTime.h"

#include "UtcTime.h"

#include <ctime>

namespace kickmark {
namespace {

constexpr std::int64_t secondsPerDay = 86400;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

std::int64_t floorDivide(std::int64_t value, std::int64_t divisor) {
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

// The offset from UTC at that time, or none when the C library cannot tell.
bool localOffset(std::int64_t seconds, std::int64_t& offset) {
    const auto time = static_cast<std::time_t>(seconds);
    if (static_cast<std::int64_t>(time) != seconds) {
        return false;
    }
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &time) != 0) {
        return false;
    }
#else
    if (localtime_r(&time, &local) == nullptr) {
        return false;
    }
#endif
    const std::int64_t localSeconds =
        daysFromCivil(std::int64_t{local.tm_year} + 1900, static_cast<unsigned>(local.tm_mon + 1),
                      static_cast<unsigned>(local.tm_mday)) *
            secondsPerDay +
        local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    offset = localSeconds - seconds;
    return true;
}

} // namespace

void readLocalZone() {
#ifdef _WIN32
    _tzset();
#else
    tzset();
#endif
}

LocalTime localTime(std::int64_t seconds) {
    std::int64_t offset = 0;
    if (!localOffset(seconds, offset)) {
        offset = 0;
    }
    const std::int64_t shifted = seconds + offset;
    return {.text = utcTimeText({.seconds = shifted}, TimeText::minutes),
            .day = floorDivide(shifted, secondsPerDay),
            .offset = offset};
}

std::string zoneName(std::int64_t offset) {
    if (offset == 0) {
        return "UTC";
    }
    const std::int64_t minutes = (offset < 0 ? -offset : offset) / 60;
    const auto twoDigits = [](std::int64_t value) {
        return std::string(1, static_cast<char>('0' + value / 10)) +
               static_cast<char>('0' + value % 10);
    };
    return std::string(offset < 0 ? "UTC-" : "UTC+") + twoDigits(minutes / 60) + ':' +
           twoDigits(minutes % 60);
}

} // namespace kickmark
