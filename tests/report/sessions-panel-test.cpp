#include "ChartText.h"
#include "LocalTime.h"
#include "TimeZone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace kickmark;

namespace {

// A session a day at 18:00 UTC from 2026-01-01, each with the same spread of speeds moved by
// `lift(i)`.
template <typename Lift> std::vector<Session> daily(std::size_t count, Lift lift) {
    std::vector<Session> sessions;
    for (std::size_t i = 0; i < count; ++i) {
        std::vector<double> speeds = sessionOf(20);
        for (double& speed : speeds) {
            speed += lift(i);
        }
        sessions.push_back({"s" + std::to_string(i) + ".csv", "", std::move(speeds),
                            utc(2026, 1, 1, 18) + std::int64_t(i) * 86400});
    }
    return sessions;
}

// Each point's group: "session" or "session-run", and " newest", " best".
std::vector<std::string> pointClasses(const std::string& svg) {
    std::vector<std::string> classes;
    for (auto at = svg.find("<g class=\"session"); at != std::string::npos;
         at = svg.find("<g class=\"session", at + 1)) {
        classes.push_back(svg.substr(at + 10, svg.find('"', at + 10) - at - 10));
    }
    return classes;
}

// The number after `label` in each point's title.
std::vector<double> valuesAfter(const std::string& svg, const std::string& label) {
    std::vector<double> values;
    for (auto at = svg.find(label); at != std::string::npos; at = svg.find(label, at + 1)) {
        values.push_back(std::stod(svg.substr(at + label.size())));
    }
    return values;
}

} // namespace

TEST(SessionsPanel, has_every_session_once_with_the_newest_and_the_best_points_of_their_own) {
    const TimeZone utcZone("UTC0");
    struct Case {
        std::size_t sessions;
        std::size_t points; // at most
    };
    for (const auto& [count, most] :
         {Case{4, 4}, Case{30, 30}, Case{100, 100}, Case{250, 102}, Case{10'000, 102}}) {
        // The best is a session in the middle.
        const auto sessions = daily(count, [&](std::size_t i) { return i == count / 2 ? 50 : 0; });
        const std::string svg = chartOf(sessions.back().speeds, sessions);
        const auto classes = pointClasses(svg);
        EXPECT_LE(classes.size(), most) << count;
        std::size_t inPoints = std::count(classes.begin(), classes.end(), "session") +
                               std::count(classes.begin(), classes.end(), "session newest") +
                               std::count(classes.begin(), classes.end(), "session best");
        for (const double inRun : valuesAfter(svg, "<g class=\"session-run\"><title>")) {
            inPoints += std::size_t(inRun);
        }
        EXPECT_EQ(inPoints, count);
        EXPECT_EQ(classes.back(), "session newest") << count;
        EXPECT_EQ(std::count(classes.begin(), classes.end(), "session best"), 1) << count;
        // Both dated and named.
        const std::string newest = localTime(sessions.back().time).text.substr(0, 10);
        EXPECT_NE(svg.find(">" + newest + "<tspan"), std::string::npos) << count;
        EXPECT_EQ(occurrences(svg, "class=\"marked\" font-weight=\"bold\">newest<"), 1u);
        EXPECT_EQ(occurrences(svg, "class=\"marked\" font-weight=\"bold\">best<"), 1u);
        EXPECT_LT(svg.size(), 1'000'000u) << count;
    }
}

TEST(SessionsPanel, a_point_of_many_sessions_means_what_a_session_means_whatever_their_number) {
    // Each session's fastest is 4499 and 0 to 999 more, in no order: typically 4999.
    for (const std::size_t count : {250, 10'000, 50'000}) {
        const auto sessions = daily(count, [](std::size_t i) { return double(i * 7919 % 1000); });
        const std::string svg = chartOf(sessions.back().speeds, sessions);
        const auto fastest = valuesAfter(svg, "median of the fastest shots ");
        ASSERT_GT(fastest.size(), 80u) << count;
        double sum = 0;
        for (const double value : fastest) {
            sum += value;
        }
        EXPECT_NEAR(sum / double(fastest.size()), 4999, 150) << count;
        // Title and legend say the same.
        EXPECT_NE(svg.find("the median of their medians and of their fastest shots"),
                  std::string::npos);
        EXPECT_NE(svg.find(">median of the medians<"), std::string::npos);
        EXPECT_NE(svg.find(">median of the fastest shots<"), std::string::npos);
        EXPECT_NE(svg.find(">their middle half<"), std::string::npos);
    }
}

TEST(SessionsPanel, a_gap_of_days_and_sessions_in_the_future_show) {
    const TimeZone utcZone("UTC0");
    std::vector<Session> sessions = daily(4, [](std::size_t) { return 0; });
    sessions[2].time += 40 * 86400; // then two on consecutive days
    sessions[3].time += 40 * 86400;
    struct Case {
        std::int64_t futureAfter;
        bool now;
    };
    for (const auto& [futureAfter, now] :
         {Case{sessions[3].time, false}, Case{sessions[1].time + 86400, true}}) {
        const std::string svg = chartOf(sessions.back().speeds, sessions, futureAfter);
        EXPECT_EQ(textsOf(svg, "gap-days"), std::vector<std::string>{"41 days"});
        // Five steps: the gap is one of them.
        const auto gap = svg.find("class=\"gap\"");
        ASSERT_NE(gap, std::string::npos);
        EXPECT_EQ(svg.substr(gap, 45), "class=\"gap\" x=\"408.0\" y=\"590.0\" width=\"164.0\"");
        EXPECT_EQ(svg.find("class=\"now\"") != std::string::npos, now);
        EXPECT_EQ(svg.find(">in the future<") != std::string::npos, now);
    }
}
