#include "SessionHistory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

kickmark::Session session(const std::string& name, std::vector<double> speeds) {
    return {.name = name, .date = "2026-12-08 18:04", .speeds = std::move(speeds)};
}

} // namespace

TEST(SessionHistory, each_save_is_told_against_every_shot_of_the_sessions_before_it) {
    const struct {
        std::string what;
        std::vector<kickmark::Session> kept;
        // Saves in turn, each a session of its own or the newest one grown.
        std::vector<std::pair<kickmark::Session, bool>> saves;
        std::size_t sessions;
        std::string line;
    } cases[] = {
        {"the first session",
         {},
         {{session("a.csv", {1000, 2000}), false}},
         1,
         "2026-12-08 18:04  a.csv  2 shots  fastest 2000.00  median 1500.00 units/s  (the first "
         "session)"},
        {"a new session after the folder's",
         {session("a.csv", {1000, 2000}), session("b.csv", {4000})},
         {{session("c.csv", {3000}), false}},
         3,
         "2026-12-08 18:04  c.csv  1 shots  fastest 3000.00  median 3000.00 units/s  against the "
         "3 shots of 2 sessions before: fastest -1000.00  median +1000.00"},
        {"a session saved again is itself, not one before",
         {session("a.csv", {1000, 2000})},
         {{session("b.csv", {3000}), false}, {session("b.csv", {3000, 500}), true}},
         2,
         "2026-12-08 18:04  b.csv  2 shots  fastest 3000.00  median 1750.00 units/s  against the "
         "2 shots of 1 session before: fastest +1000.00  median +250.00"},
        {"saves in turn merge in order; an empty session counts no session",
         {},
         {{session("a.csv", {5, 1}), false},
          {session("b.csv", {}), false},
          {session("c.csv", {3, 9, 2}), false},
          {session("d.csv", {4}), false}},
         4,
         "2026-12-08 18:04  d.csv  1 shots  fastest 4.00  median 4.00 units/s  against the 5 "
         "shots of 2 sessions before: fastest -5.00  median +1.00"},
        {"an empty newest session has no figures",
         {session("a.csv", {1000})},
         {{session("b.csv", {}), false}},
         2,
         "2026-12-08 18:04  b.csv  0 shots"},
    };
    for (const auto& [what, kept, saves, sessions, line] : cases) {
        SCOPED_TRACE(what);
        kickmark::SessionHistory history(kept);
        for (const auto& [save, continues] : saves) {
            history.add(save, continues);
        }
        EXPECT_EQ(history.sessions().size(), sessions);
        EXPECT_EQ(history.newestLine(), line);
    }
}
