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
const SpeedScale scale({0, 5000, 1000}, {0, 100, 0, 500});

Drawn draw(const std::vector<LinePoint>& points, bool alongEdge = false) {
    std::ostringstream out;
    EdgeLabels labels(-1000, 1000);
    const bool beyond = writeSpeedLine(
        out, points, scale, {.name = "line", .colour = "red", .alongEdge = alongEdge}, labels);
    labels.write(out, scale);
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

TEST(EdgeLabels, stand_apart_the_first_always_and_each_text_once_where_it_would_touch_itself) {
    struct Case {
        std::vector<std::pair<double, std::string>> labels; // x, text; the last is marked first
        double right;                                       // where labels must end
        const char* written; // "text@x@y", in the order they are written
    };
    const std::vector<Case> cases = {
        // Two lines and a triangle at one place.
        {{{50, "2395"}, {50, "6000"}, {50, "5900"}, {50, "6000"}},
         1000,
         "6000@50.0@-10.0 2395@50.0@-24.0 5900@84.8@-10.0 "},
        // Never past the end; what fits nowhere near is left out, never over another.
        {{{99, "1"}, {99, "2"}, {99, "3"}, {99, "4"}, {99, "5"}, {99, "6"}, {99, "7"}},
         100,
         "7@93.4@-10.0 1@93.4@-24.0 2@72.6@-10.0 3@72.6@-24.0 "},
    };
    for (const auto& [given, right, written] : cases) {
        EdgeLabels labels(0, right);
        for (std::size_t i = 0; i < given.size(); ++i) {
            labels.add(given[i].first, true, given[i].second, "red", i + 1 == given.size());
        }
        std::ostringstream out;
        labels.write(out, scale);
        const std::string svg = out.str();
        std::string seen;
        for (auto at = svg.find("<text"); at != std::string::npos; at = svg.find("<text", at + 1)) {
            const auto value = [&](const char* name) {
                const auto start = svg.find(name, at) + std::string(name).size();
                return svg.substr(start, svg.find('"', start) - start);
            };
            const auto start = svg.find('>', at) + 1;
            seen += svg.substr(start, svg.find('<', start) - start) + "@" + value(" x=\"") + "@" +
                    value(" y=\"") + " ";
        }
        EXPECT_EQ(seen, written);
    }
}
