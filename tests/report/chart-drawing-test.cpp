#include "ChartDrawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

using namespace kickmark;

namespace {

struct Drawn {
    std::string inside; // the line's path
    std::size_t breaks = 0;
    std::string values; // written beyond the axis, each followed by a space
};

// Speeds 0 to 5000 over pixels 500 to 0: a speed's pixel is 500 - speed / 10.
Drawn draw(const std::vector<LinePoint>& points) {
    std::ostringstream out;
    const bool beyond = writeSpeedLine(out, points, SpeedScale({0, 5000, 1000}, {0, 100, 0, 500}),
                                       {.name = "line", .colour = "red"});
    const std::string svg = out.str();
    const auto path = [&](const std::string& name) {
        const auto at = svg.find("class=\"" + name + "\"");
        const auto start = at == std::string::npos ? at : svg.find(" d=\"", at) + 4;
        return at == std::string::npos ? "" : svg.substr(start, svg.find('"', start) - start);
    };
    Drawn drawn{path("line"), 0, ""};
    const std::string breaks = path("break");
    drawn.breaks = static_cast<std::size_t>(std::ranges::count(breaks, 'M')) / 2;
    EXPECT_EQ(beyond, drawn.breaks > 0);
    for (auto at = svg.find("beyond-value"); at != std::string::npos;
         at = svg.find("beyond-value", at + 1)) {
        const auto start = svg.find('>', at) + 1;
        drawn.values += svg.substr(start, svg.find('<', start) - start) + ' ';
    }
    return drawn;
}

} // namespace

TEST(WriteSpeedLine, draws_only_within_the_axis_and_breaks_with_the_furthest_value_beyond) {
    struct Case {
        std::vector<LinePoint> points;
        const char* inside;
        std::size_t breaks;
        const char* values;
    };
    const std::vector<Case> cases = {
        {{{0, 1000}, {10, 2000}, {20, 5000}}, "M0.0 400.0 10.0 300.0 20.0 0.0", 0, ""},
        {{{0, 1000}, {10, 9000}, {20, 1000}},
         "M0.0 400.0 5.0 0.0 M15.0 0.0 20.0 400.0",
         2,
         "9000 "},
        {{{0, 9000}, {10, 9000}, {20, 1000}}, "M15.0 0.0 20.0 400.0", 2, "9000 "},
        // A best so far that leaves for good, and still rises beyond.
        {{{0, 1000}, {10, 1000}, {10, 6000}, {20, 6000}, {20, 8000}, {30, 8000}},
         "M0.0 400.0 10.0 400.0 10.0 0.0",
         1,
         "8000 "},
        {{{0, -1000}, {10, 1000}, {20, 9000}}, "M5.0 500.0 10.0 400.0 15.0 0.0", 3, "-1000 9000 "},
        {{{0, 9000}, {10, 9500}}, "", 1, "9500 "},
        {{{0, 1000}}, "", 0, ""},
    };
    for (const auto& [points, inside, breaks, values] : cases) {
        const Drawn drawn = draw(points);
        EXPECT_EQ(drawn.inside, inside);
        EXPECT_EQ(drawn.breaks, breaks) << inside;
        EXPECT_EQ(drawn.values, values) << inside;
    }
}
