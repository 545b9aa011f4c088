// Strike detection and the chat report, driven through the host as the game would.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Console.h"
#include "DecimalCommaLocale.h"
#include "Files.h"
#include "PluginHost.h"

using pluginsdk::HostCall;
using testing::ElementsAre;
using testing::IsEmpty;

namespace {

constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float nan = std::numeric_limits<float>::quiet_NaN();

class ShotDetection : public testing::Test, public PluginHost {
protected:
    ShotDetection() {
        set("kickmark", "1");
        probe.resetCalls();
    }
};

TEST_F(ShotDetection, a_rise_in_horizontal_speed_records_the_full_speed) {
    ball(0, 0, 0);
    ball(2000, 1000, 500);
    EXPECT_THAT(chatTexts(), ElementsAre("1 Shot speed: 2291.29"));
    EXPECT_EQ(host.chat().front().sender, "BAKKESMOD");
    EXPECT_THAT(plugin().measurements, ElementsAre(std::sqrt(500.0f * 500.0f + 5000000.0f)));
    EXPECT_EQ(plugin().lastHorizontalSpeedSq, 5000000.0f);
}

TEST_F(ShotDetection, only_rises_count_and_the_first_sample_never_does) {
    ball(3000, 0, 0);    // first sample: nothing to compare with
    ball(3000, 0, 0);    // equal
    ball(2000, 0, 0);    // slower
    ball(0, 2000, 5000); // straight up: horizontal speed unchanged
    EXPECT_THAT(chatTexts(), IsEmpty());
    EXPECT_THAT(plugin().measurements, IsEmpty());
}

TEST_F(ShotDetection, every_rising_sample_above_the_minimum_is_recorded_and_numbered) {
    ball(0, 0, 0);
    ball(1500, 0, 0);
    ball(2000, 0, 0);
    ball(2345.678f, 0, 0);
    EXPECT_THAT(chatTexts(), ElementsAre("1 Shot speed: 1500.00", "2 Shot speed: 2000.00",
                                         "3 Shot speed: 2345.68"));
}

TEST_F(ShotDetection, the_minimum_must_be_exceeded_not_met) {
    set("kickmark_minspeed", "1500");
    ball(0, 0, 0);
    ball(1500, 0, 0);
    ball(std::nextafter(1500.0f, inf), 0, 0);
    EXPECT_THAT(chatTexts(), ElementsAre("1 Shot speed: 1500.00"));
    EXPECT_EQ(plugin().measurements.size(), 1u);
}

TEST_F(ShotDetection, with_no_minimum_tiny_speeds_show_as_zero) {
    set("kickmark_minspeed", "0");
    ball(0, 0, 0);
    ball(0.005f, 0, 0);
    ball(0.02f, 0, 0);
    EXPECT_THAT(chatTexts(), ElementsAre("1 Shot speed: 0.0000", "2 Shot speed: 0.02"));
}

TEST_F(ShotDetection, reset_restarts_numbering_but_not_the_previous_sample) {
    ball(0, 0, 0);
    ball(2000, 0, 0);
    ball(2500, 0, 0);
    run({"kickmark_reset"});
    ball(2400, 0, 0); // slower than the sample before the reset
    ball(3000, 0, 0);
    EXPECT_THAT(chatTexts(), ElementsAre("1 Shot speed: 2000.00", "2 Shot speed: 2500.00",
                                         "1 Shot speed: 3000.00"));
    EXPECT_THAT(plugin().measurements, ElementsAre(3000.0f));
}

TEST_F(ShotDetection, a_pause_keeps_the_sample_from_before_it) {
    ball(2000, 0, 0);
    set("kickmark", "0");
    ball(0, 0, 0); // not hooked: not sampled
    set("kickmark", "1");
    ball(2500, 0, 0); // compared with 2000, not with 0
    ball(1000, 0, 0);
    EXPECT_THAT(chatTexts(), ElementsAre("1 Shot speed: 2500.00"));
}

TEST_F(ShotDetection, measuring_off_or_out_of_free_play_asks_the_host_nothing_more) {
    ball(1000, 0, 0);
    probe.resetCalls();

    *plugin().enabled = false; // still hooked, but the cell says off
    ball(3000, 0, 0);
    EXPECT_EQ(probe.calls(HostCall::IsInFreeplay), 0u);

    *plugin().enabled = true;
    host.setFreeplay(false);
    ball(3000, 0, 0);
    EXPECT_EQ(probe.calls(HostCall::IsInFreeplay), 1u);
    EXPECT_EQ(probe.calls(HostCall::GetGameEventAsServer), 0u);
    EXPECT_EQ(plugin().lastHorizontalSpeedSq, 1000000.0f);
    EXPECT_THAT(plugin().measurements, IsEmpty());
}

TEST_F(ShotDetection, a_missing_match_or_ball_ends_the_sample_quietly) {
    ball(1000, 0, 0);
    host.setBall(false);
    ball(3000, 0, 0);
    EXPECT_EQ(probe.calls(HostCall::GetBall), 2u);
    EXPECT_EQ(probe.calls(HostCall::GetOldRBState), 1u); // only the first sample's

    host.setBall(true);
    host.setMatch(false);
    ball(3000, 0, 0);
    EXPECT_EQ(probe.calls(HostCall::GetGameEventAsServer), 3u);
    EXPECT_EQ(probe.calls(HostCall::GetBall), 2u);

    EXPECT_EQ(plugin().lastHorizontalSpeedSq, 1000000.0f);
    EXPECT_THAT(chatTexts(), IsEmpty());
}

TEST_F(ShotDetection, a_sample_asks_the_host_in_order_and_no_more) {
    ball(0, 0, 0);
    probe.logCalls(true);
    probe.resetCalls();
    ball(100, 0, 0);
    EXPECT_THAT(probe.callLog(), ElementsAre(HostCall::IsInFreeplay, HostCall::GetGameEventAsServer,
                                             HostCall::IsNull, HostCall::GetBall, HostCall::IsNull,
                                             HostCall::GetOldRBState));
}

TEST_F(ShotDetection, non_finite_velocities_are_never_recorded) {
    ball(0, 0, 0);
    ball(nan, 0, 0);
    ball(3000, 0, 0); // the NaN sample is no baseline
    ball(0, 0, 0);
    ball(1, 0, inf); // a rise, but an infinite speed
    ball(0, 0, 0);
    ball(3.0e38f, 3.0e38f, 0); // the sum overflows
    EXPECT_THAT(chatTexts(), IsEmpty());
    EXPECT_EQ(plugin().lastHorizontalSpeedSq, inf);
    ball(0, 0, 0);
    ball(2000, 0, 0);
    EXPECT_THAT(chatTexts(), ElementsAre("1 Shot speed: 2000.00"));
}

TEST_F(ShotDetection, huge_finite_speeds_are_recorded_in_full_and_overflows_drop_nothing) {
    ball(0, 0, 0);
    ball(1500, 0, 0);
    ball(0, 0, 0);
    ball(1.0e19f, 0, 0); // its square still fits in a float
    ball(0, 0, 0);
    ball(2.0e19f, 0, 0); // its square does not
    EXPECT_THAT(chatTexts(),
                ElementsAre("1 Shot speed: 1500.00", "2 Shot speed: 9999999980506447872.00"));
    EXPECT_THAT(plugin().measurements, ElementsAre(1500.0f, 1.0e19f));

    run({"kickmark_save"});
    EXPECT_EQ(readBytes(dataFolder / "shots.csv"),
              textLines({"1500.000000", "9999999980506447872.000000"}));
}

TEST_F(ShotDetection, denormal_and_signed_zero_velocities_are_ordinary_numbers) {
    set("kickmark_minspeed", "0");
    ball(0, 0, 0);
    ball(std::numeric_limits<float>::denorm_min(), 0, 0); // its square is zero: no rise
    ball(1.0e-20f, 0, 0);                                 // its square is a denormal: a rise
    ball(-0.0f, -0.0f, -0.0f);
    ball(-2000, 0, 0);
    EXPECT_THAT(chatTexts(), ElementsAre("1 Shot speed: 0.0000", "2 Shot speed: 2000.00"));
    ASSERT_EQ(plugin().measurements.size(), 2u);
    EXPECT_GT(plugin().measurements[0], 0.0f);
    EXPECT_EQ(plugin().measurements[1], 2000.0f);
}

TEST_F(ShotDetection, a_decimal_comma_locale_does_not_reach_the_chat) {
    DecimalCommaLocale comma;
    ball(0, 0, 0);
    ball(2345.678f, 0, 0);
    ball(1234567.0f, 0, 0);
    EXPECT_THAT(chatTexts(), ElementsAre("1 Shot speed: 2345.68", "2 Shot speed: 1234567.00"));
}

} // namespace
