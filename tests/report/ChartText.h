#pragma once

#include "SvgChart.h"

#include <chrono>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

inline std::string chartOf(const std::vector<double>& speeds,
                           std::span<const kickmark::Session> sessions = {},
                           std::int64_t futureAfter = INT64_MAX) {
    std::ostringstream out;
    kickmark::writeSvgChart(
        out,
        {.speeds = kickmark::RankedSpeeds(speeds), .recentCount = 10, .sessions = sessions, .futureAfter = futureAfter});
    return out.str();
}

inline std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Speeds from 1000 to 4500 in no order.
inline std::vector<double> sessionOf(std::size_t shots) {
    std::vector<double> speeds;
    for (std::size_t i = 0; i < shots; ++i) {
        speeds.push_back(1000.0 + double(i * 7919 % 3500));
    }
    return speeds;
}

// Seconds since 1970 of a UTC time.
inline std::int64_t utc(int year, unsigned month, unsigned day, int hour, int minute = 0) {
    using namespace std::chrono;
    const sys_days date = std::chrono::year(year) / month / day;
    return (date + hours(hour) + minutes(minute)).time_since_epoch() / seconds(1);
}

// The value of `attribute` in the element that starts before `at`.
inline double attributeBefore(const std::string& svg, std::size_t at,
                              const std::string& attribute) {
    const auto element = svg.rfind('<', at);
    const auto value = svg.find(" " + attribute + "=\"", element) + attribute.size() + 3;
    return std::stod(svg.substr(value));
}

// The text of every element of `className`, in document order.
inline std::vector<std::string> textsOf(const std::string& svg, const std::string& className) {
    std::vector<std::string> texts;
    const std::string marker = "class=\"" + className + "\"";
    for (auto at = svg.find(marker); at != std::string::npos; at = svg.find(marker, at + 1)) {
        const auto start = svg.find('>', at) + 1;
        texts.push_back(svg.substr(start, svg.find('<', start) - start));
    }
    return texts;
}
