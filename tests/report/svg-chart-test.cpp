#include "SvgChart.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdlib>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using namespace kickmark;

namespace {

std::string chartOf(const std::vector<double>& speeds, std::span<const Session> sessions = {}) {
    std::ostringstream out;
    writeSvgChart(out, {.speeds = RankedSpeeds(speeds), .recentCount = 10, .sessions = sessions});
    return out.str();
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

std::vector<double> sessionOf(std::size_t shots) {
    std::vector<double> speeds;
    for (std::size_t i = 0; i < shots; ++i) {
        speeds.push_back(1000.0 + double(i * 7919 % 3500));
    }
    return speeds;
}

void expectWellFormed(const std::string& svg, const std::string& name) {
    if (std::string(KICKMARK_XMLLINT).empty()) {
        GTEST_SKIP() << "xmllint not found";
    }
    const auto path = std::filesystem::temp_directory_path() / ("kickmark-chart-" + name + ".svg");
    writeBytes(path, svg);
    const std::string command =
        std::string("\"") + KICKMARK_XMLLINT + "\" --noout \"" + path.string() + "\"";
    EXPECT_EQ(std::system(command.c_str()), 0) << name;
    std::filesystem::remove(path);
}

const std::vector<Session> threeSessions = {
    {"a & b.csv", "2026-12-01 18:00", {1000, 2000}},
    {"empty.csv", "2026-12-02 18:00", {}},
    {"c.csv", "2026-12-03 18:00", {2500, 3500, 3.4e38}},
};

} // namespace

TEST(WriteSvgChart, is_well_formed_svg_according_to_xmllint) {
    expectWellFormed(chartOf({1523.4, 987.25, 3050.5, 2100.0}), "small");
    expectWellFormed(chartOf(sessionOf(20000)), "columns");
    expectWellFormed(chartOf({2500, 3500, 3.4e38}, threeSessions), "sessions");
    expectWellFormed(chartOf({}, threeSessions), "empty-newest");
}

TEST(WriteSvgChart, is_self_contained_and_fills_its_container) {
    const std::string svg = chartOf({1500.0});
    EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1000 480\" "
                       "width=\"100%\""),
              std::string::npos);
    for (const char* unwanted : {"href", "url(", "@import", "<image"}) {
        EXPECT_EQ(svg.find(unwanted), std::string::npos) << unwanted;
    }
}

TEST(WriteSvgChart, extreme_speeds_draw_no_infinity_or_nan) {
    for (const auto& speeds :
         {std::vector{3000.0, double(FLT_MAX)}, std::vector{-double(FLT_MAX), double(FLT_MAX), 0.0},
          std::vector{0.0, 0.0}, std::vector{1e-30}}) {
        const std::string svg = chartOf(speeds, threeSessions);
        EXPECT_EQ(svg.find("inf"), std::string::npos);
        EXPECT_EQ(svg.find("nan"), std::string::npos);
    }
}

TEST(WriteSvgChart, shots_beyond_the_bulk_are_marks_on_the_edge_not_dots) {
    std::vector<double> speeds = sessionOf(198);
    speeds.push_back(40000);
    speeds.push_back(3.4e38);
    const std::string svg = chartOf(speeds);
    EXPECT_EQ(occurrences(svg, "class=\"shot\""), 198u);
    EXPECT_EQ(occurrences(svg, "class=\"beyond\""), 2u);
}

TEST(WriteSvgChart, draws_each_shot_up_to_a_few_thousand_then_column_summaries) {
    EXPECT_EQ(occurrences(chartOf(sessionOf(4000)), "class=\"shot\""), 4000u);
    const std::string columns = chartOf(sessionOf(4001));
    EXPECT_EQ(occurrences(columns, "class=\"shot\""), 0u);
    EXPECT_EQ(occurrences(columns, "class=\"column-range\""), 1u);
}

TEST(WriteSvgChart, a_million_shots_stay_under_a_megabyte) {
    EXPECT_LT(chartOf(sessionOf(1'000'000)).size(), 1'000'000u);
}

TEST(WriteSvgChart, several_sessions_add_a_panel_with_a_point_per_shot_session) {
    const std::string svg = chartOf({2500, 3500, 3.4e38}, threeSessions);
    EXPECT_NE(svg.find("viewBox=\"0 0 1000 790\""), std::string::npos);
    EXPECT_EQ(occurrences(svg, "class=\"session\""), 2u);
    EXPECT_NE(svg.find("a &amp; b.csv"), std::string::npos);
}

TEST(WriteSvgChart, counts_a_shot_above_the_axis_only_when_it_is_beyond_the_top) {
    std::vector<double> outlier = sessionOf(100);
    outlier[60] = 60000;
    // The bin's title, as the text report has that bin, and the width of its bar.
    for (const auto& [speeds, above, bin, width] :
         {std::tuple{std::vector<double>{2000, 2500, 3000, 3100, 3900, 4000}, 0u,
                     "4000 to 4500 units/s: 1 shot", "120.0"},
          std::tuple{std::vector<double>{2000, 6000, 3000, 6000, 6000}, 0u,
                     "6000 to 6500 units/s: 3 shots", "240.0"},
          std::tuple{std::vector<double>(100, 1500), 0u, "1500 to 2000 units/s: 100 shots",
                     "240.0"},
          std::tuple{outlier, 1u, "0 to 500 units/s: 0 shots", "0.0"}}) {
        const std::string svg = chartOf(speeds);
        std::size_t counted = above;
        for (auto at = svg.find(" units/s: "); at != std::string::npos;
             at = svg.find(" units/s: ", at + 1)) {
            counted += std::stoul(svg.substr(at + 10));
        }
        EXPECT_EQ(counted, speeds.size()) << bin;
        EXPECT_EQ(occurrences(svg, ">1 above the axis<"), above) << bin;
        const auto title = svg.find(bin);
        ASSERT_NE(title, std::string::npos) << bin;
        EXPECT_LT(svg.find(" width=\"" + std::string(width) + "\"", svg.rfind("<rect", title)),
                  title);
    }
}

TEST(WriteSvgChart, a_line_beyond_the_axis_breaks_where_it_leaves_with_its_true_value) {
    // Shot 3 is beyond the shots' axis and its session's fastest beyond the panel's.
    const std::string svg = chartOf({2500, 3500, 3.4e38}, threeSessions);
    EXPECT_EQ(occurrences(svg, "class=\"break\""), 3u); // best, average, sessions' fastest
    EXPECT_EQ(occurrences(svg, "fill=\"#D55E00\">3.4e+38</text>"), 2u);
    EXPECT_EQ(occurrences(svg, "fill=\"#0072B2\">1.13e+38</text>"), 1u);
}

TEST(WriteSvgChart, draws_no_line_of_no_length_and_keeps_the_kmh_axis_in_sight) {
    for (const auto& [speeds, lines] :
         {std::pair{std::vector{1523.4}, false}, std::pair{std::vector{1523.4, 1600.0}, true}}) {
        const std::string svg = chartOf(speeds);
        EXPECT_EQ(svg.find("class=\"best\"") != std::string::npos, lines);
        EXPECT_EQ(svg.find("class=\"average\"") != std::string::npos, lines);
        EXPECT_EQ(svg.find("best so far") != std::string::npos, lines);
        // A bar the histogram's whole width ends on the km/h axis; the axis is drawn over it.
        EXPECT_GT(svg.find("<line x1=\"900.0\" y1=\"90.0\" x2=\"900.0\" y2=\"400.0\""),
                  svg.rfind("class=\"bin\""));
    }
}

TEST(WriteSvgChart, the_legend_says_how_many_shots_each_column_holds) {
    EXPECT_NE(chartOf(sessionOf(5000)).find("each 9 or 10 shots"), std::string::npos);
    EXPECT_NE(chartOf(sessionOf(5400)).find("each 10 shots"), std::string::npos);
}

TEST(WriteSvgChart, says_the_shots_are_the_newest_sessions_and_tells_same_day_sessions_apart) {
    const std::vector<Session> sameDay = {
        {"a.csv", "2026-12-04 18:00", {1000}},
        {"b.csv", "2026-12-04 19:30", {2000}},
    };
    for (const auto& [sessions, times] :
         {std::pair{std::span<const Session>(sameDay), true},
          std::pair{std::span<const Session>(threeSessions), false}}) {
        const std::string svg = chartOf(sessions.back().speeds, sessions);
        EXPECT_NE(svg.find(">Ball speed by shot, newest session: " + sessions.back().date +
                           " UTC</text>"),
                  std::string::npos);
        EXPECT_EQ(occurrences(svg, "</tspan></text>"), times ? sessions.size() : 0);
    }
    EXPECT_NE(chartOf({}, sameDay).find("dy=\"13\">19:30</tspan>"), std::string::npos);
}

TEST(WriteSvgChart, the_sessions_panel_summarises_runs_of_sessions_beyond_a_hundred) {
    struct Case {
        std::size_t sessions;
        std::size_t points; // a session each
        std::size_t runs;   // several sessions each
    };
    for (const auto& [count, points, runs] :
         {Case{60, 60, 0}, Case{100, 100, 0}, Case{101, 1, 50}, Case{10'000, 0, 100}}) {
        const std::vector<Session> sessions(count, {"s.csv", "2026-12-04 18:00", sessionOf(20)});
        const std::string svg = chartOf(sessions.back().speeds, sessions);
        EXPECT_EQ(occurrences(svg, "class=\"session\""), points) << count;
        EXPECT_EQ(occurrences(svg, "class=\"session-run\""), runs) << count;
        // Every session is in one point or run.
        std::size_t inRuns = 0;
        for (auto at = svg.find(" sessions, 2026"); at != std::string::npos;
             at = svg.find(" sessions, 2026", at + 1)) {
            inRuns += std::stoul(svg.substr(svg.rfind('>', at) + 1));
        }
        EXPECT_EQ(points + inRuns, count);
        EXPECT_LT(svg.size(), 1'000'000u) << count;
    }
}
