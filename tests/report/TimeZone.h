#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

// Sets the C library's local time zone (and its children's) for the life of the object, then
// puts the one before back. `zone` in the form both the C library here and Windows' read:
// "XXX-14" is fourteen hours ahead of UTC.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            before = old;
        }
        set(zone);
    }
    ~TimeZone() { set(before ? before->c_str() : nullptr); }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    static void set(const char* zone) {
#ifdef _WIN32
        _putenv_s("TZ", zone ? zone : "");
        _tzset();
#else
        if (zone) {
            setenv("TZ", zone, 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
#endif
    }
    std::optional<std::string> before;
};
