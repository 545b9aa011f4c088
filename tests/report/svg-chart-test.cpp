#include "ChartText.h"
#include "TestFiles.h"
#include "TimeZone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using namespace kickmark;

namespace {

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
    {"a & b.csv", "2026-12-01 18:00", {1000, 2000}, utc(2026, 12, 1, 18)},
    {"empty.csv", "2026-12-02 18:00", {}, utc(2026, 12, 2, 18)},
    {"c.csv", "2026-12-03 18:00", {2500, 3500, 3.4e38}, utc(2026, 12, 3, 18)},
};

// Labels beyond the axis, and whether any two of them cover each other.
struct EdgeText {
    double x;
    double y;
    std::string text;
};

std::vector<EdgeText> edgeTexts(const std::string& svg) {
    std::vector<EdgeText> texts;
    const std::string marker = "class=\"beyond-value\"";
    for (auto at = svg.find(marker); at != std::string::npos; at = svg.find(marker, at + 1)) {
        const auto start = svg.find('>', at) + 1;
        texts.push_back({attributeBefore(svg, at, "x"), attributeBefore(svg, at, "y"),
                         svg.substr(start, svg.find('<', start) - start)});
    }
    return texts;
}

bool anyCover(const std::vector<EdgeText>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            // Digits of 12-unit text are under 7 units wide; rows are 14 units apart.
            const double width = 3.5 * double(texts[i].text.size() + texts[j].text.size());
            if (std::fabs(texts[i].y - texts[j].y) < 12 &&
                std::fabs(texts[i].x - texts[j].x) < width) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

TEST(WriteSvgChart, is_well_formed_svg_according_to_xmllint) {
    expectWellFormed(chartOf({1523.4, 987.25, 3050.5, 2100.0}), "small");
    expectWellFormed(chartOf(sessionOf(20000)), "columns");
    expectWellFormed(chartOf({2500, 3500, 3.4e38}, threeSessions), "sessions");
    expectWellFormed(chartOf({}, threeSessions), "empty-newest");
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

TEST(WriteSvgChart, the_legend_says_how_many_shots_each_column_holds) {
    EXPECT_NE(chartOf(sessionOf(5000)).find("each 9 or 10 shots"), std::string::npos);
    EXPECT_NE(chartOf(sessionOf(5400)).find("each 10 shots"), std::string::npos);
}

TEST(WriteSvgChart, is_self_contained_readable_when_narrow_and_fills_a_printed_page) {
    for (const std::string& svg : {chartOf({1500.0}), chartOf(sessionOf(20000)),
                                   chartOf({2500, 3500, 3.4e38}, threeSessions)}) {
        EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1000 "),
                  std::string::npos);
        for (const char* unwanted : {"href", "url(", "@import", "<image"}) {
            EXPECT_EQ(svg.find(unwanted), std::string::npos) << unwanted;
        }
        // No narrower than makes its smallest text 10 px; printed across the page, where that
        // text is over 8 pt.
        const auto minimum = svg.find("min-width: ");
        ASSERT_NE(minimum, std::string::npos);
        double smallest = attributeBefore(svg, svg.find("<title>"), "font-size");
        for (auto at = svg.find(" font-size=\""); at != std::string::npos;
             at = svg.find(" font-size=\"", at + 1)) {
            smallest = std::min(smallest, std::stod(svg.substr(at + 12)));
        }
        EXPECT_GE(std::stod(svg.substr(minimum + 11)) / 1000 * smallest, 10.0);
        EXPECT_NE(svg.find("@page { size: landscape"), std::string::npos);
        EXPECT_NE(svg.find("@media print { svg { width: 100vw; height: 100vh } }"),
                  std::string::npos);
    }
}

TEST(WriteSvgChart,
     the_headline_gives_each_level_in_both_units_and_the_change_against_the_shots_before) {
    std::vector<double> rising(12, 2000);
    rising[0] = rising[1] = 1000;
    std::vector<double> falling(rising.rbegin(), rising.rend());
    struct Case {
        std::vector<double> speeds;
        const char* levels;
        const char* change;
    };
    for (const auto& [speeds, levels, change] :
         {Case{rising,
               "12 shots \xC2\xB7 fastest 2000.00 units/s (72.00 km/h) \xC2\xB7 median 2000.00 "
               "units/s (72.00 km/h)",
               "mean 1833.33 units/s (66.00 km/h) \xC2\xB7 mean of the last 10 against the 2 "
               "before: +1000.00 units/s (+36.00 km/h)"},
          Case{falling, nullptr,
               "mean of the last 10 against the 2 before: -200.00 units/s (-7.20 km/h)"},
          Case{std::vector<double>(10, 1500), nullptr, "mean 1500.00 units/s (54.00 km/h)<"}}) {
        const std::string svg = chartOf(speeds);
        if (levels) {
            EXPECT_NE(svg.find(">" + std::string(levels) + "</text>"), std::string::npos) << svg;
        }
        EXPECT_NE(svg.find(change), std::string::npos) << change;
    }
}

TEST(WriteSvgChart, each_line_starts_where_its_legend_is_true) {
    // Shot 1 far beyond the others: an average over fewer than 10 shots would start there.
    struct Case {
        std::size_t shots;
        bool best;
        bool average;
    };
    for (const auto& [shots, best, average] : {Case{1, false, false}, Case{2, true, false},
                                               Case{9, true, false}, Case{12, true, true}}) {
        std::vector<double> speeds = sessionOf(shots);
        speeds[0] = 4000;
        const std::string svg = chartOf(speeds);
        EXPECT_EQ(svg.find("class=\"best\"") != std::string::npos, best) << shots;
        EXPECT_EQ(svg.find("best so far") != std::string::npos, best) << shots;
        EXPECT_EQ(svg.find("class=\"average\"") != std::string::npos, average) << shots;
        EXPECT_EQ(svg.find("average of the last 10 shots") != std::string::npos, average) << shots;
        if (average) {
            // Shot 10 of 12 across the plot from 80 to 620.
            const auto path = svg.find("class=\"average\"");
            EXPECT_EQ(svg.substr(svg.find(" d=\"M", path) + 5, 5), "507.5") << shots;
        }
        // A bar the histogram's whole width ends on the km/h axis; the axis is drawn over it.
        EXPECT_GT(svg.find("<line x1=\"900.0\" y1=\"110.0\" x2=\"900.0\" y2=\"420.0\""),
                  svg.rfind("class=\"bin\""));
    }
}

TEST(WriteSvgChart, beyond_the_axis_the_best_stays_drawn_and_labels_never_cover_each_other) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::size_t, double>> wild; // shot index, speed
        std::string fastest;
        const char* along; // the best's dotted run outside the plot
    };
    for (const auto& [name, wild, fastest, along] :
         {Case{"first", {{0, 30000}}, "30000", "M81.3 107.0H618.6"},
          Case{"middle", {{99, 6000}}, "6000", "M348.6 107.0H618.6"},
          Case{"last two", {{198, 5900}, {199, 6000}}, "6000", "M616.0 107.0H618.6"}}) {
        // From 1000 to 2000: the axis ends at three times their median, 4500.
        std::vector<double> speeds;
        for (std::size_t i = 0; i < 200; ++i) {
            speeds.push_back(1000.0 + double(i * 7919 % 1000));
        }
        for (const auto& [shot, speed] : wild) {
            speeds[shot] = speed;
        }
        const std::string svg = chartOf(speeds);
        const auto texts = edgeTexts(svg);
        EXPECT_FALSE(anyCover(texts)) << name;
        // The session's fastest shot is labelled once, whatever else is there.
        EXPECT_EQ(std::ranges::count(texts, fastest, &EdgeText::text), 1) << name;
        if (along) {
            EXPECT_NE(svg.find(std::string("class=\"along-edge\"") + " fill=\"none\" stroke=\"" +
                               "#D55E00\" stroke-width=\"2\" stroke-dasharray=\"1 3\" d=\"" +
                               along + "\""),
                      std::string::npos)
                << name;
        }
    }
}

TEST(WriteSvgChart, says_the_shots_are_the_newest_sessions_in_local_time_with_the_zone) {
    const TimeZone kiribati("XXX-14");
    const std::vector<Session> sameDay = {
        {"a.csv", "", {1000}, utc(2026, 12, 7, 19)},
        {"b.csv", "", {2000}, utc(2026, 12, 7, 23)},
        {"c.csv", "", {1500}, utc(2026, 12, 8, 1)},
    };
    const std::string svg = chartOf(sameDay.back().speeds, sameDay);
    EXPECT_NE(svg.find(">Ball speed by shot, newest session: 2026-12-08 15:00 (UTC+14:00)</text>"),
              std::string::npos);
    EXPECT_NE(svg.find(", oldest first, local time (UTC+14:00)"), std::string::npos);
    EXPECT_EQ(textsOf(svg, "date"),
              (std::vector<std::string>{"2026-12-08", "2026-12-08", "2026-12-08"}));
    for (const char* time : {">09:00</tspan>", ">13:00</tspan>", ">15:00</tspan>"}) {
        EXPECT_NE(svg.find(time), std::string::npos) << time;
    }
}
