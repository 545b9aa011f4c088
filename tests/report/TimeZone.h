#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

// The C library's local time zone, the children's too, while it lives: "XXX-14" is UTC+14 here
// and on Windows.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            before = old;
        }
        set(zone);
    }
    ~TimeZone() { set(before ? before->c_str() : ""); }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    static void set(const char* zone) {
#ifdef _WIN32
        _putenv_s("TZ", zone);
        _tzset();
#else
        *zone ? setenv("TZ", zone, 1) : unsetenv("TZ");
        tzset();
#endif
    }
    std::optional<std::string> before;
};
