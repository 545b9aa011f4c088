// What kickmark-host takes for a save that happened: the file holds exactly the speeds the chat
// announced, in order.
#include <gtest/gtest.h>

#include "AnnouncedSpeeds.h"

namespace {

TEST(AnnouncedSpeeds, a_file_counts_only_when_it_holds_exactly_the_announced_speeds) {
    AnnouncedSpeeds announced;
    announced.heard("1 Shot speed: 1913.77");
    announced.heard("not an announcement");
    announced.heard("2 Shot speed: 2500.00");
    announced.heard("3 Shot speed: 0.0000");
    struct Case {
        const char* what;
        std::string_view bytes;
        bool held;
    };
    const Case cases[] = {
        {"each speed, as saved", "1913.765869\n2500.000000\n0.003000\n", true},
        {"each speed, Windows' line ends", "1913.765869\r\n2500.000000\r\n0.003000\r\n", true},
        {"one that rounds otherwise", "1913.775000\n2500.000000\n0.003000\n", false},
        {"one left out", "1913.765869\n2500.000000\n", false},
        {"an old speed after the new ones", "1913.765869\n2500.000000\n0.003000\n5555.000000\n",
         false},
        {"out of order", "2500.000000\n1913.765869\n0.003000\n", false},
        {"a last line cut short", "1913.765869\n2500.000000\n0.003", false},
        {"a line that is no number", "1913.765869\n2500.000000\nx\n", false},
        {"nothing", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(announced.heldBy(c.bytes), c.held) << c.what;

    announced.clear();
    EXPECT_TRUE(announced.heldBy(""));
    EXPECT_FALSE(announced.heldBy("1913.765869\n"));
}

} // namespace
