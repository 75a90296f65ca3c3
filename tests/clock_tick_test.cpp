#include <gtest/gtest.h>

#include "support/simulator.h"

namespace horatta::testing {
namespace {

const BeepCall chime{1342, 300, 0};

int chimesIn(const std::vector<BeepCall>& beeps) {
    int n = 0;
    for (const auto& b : beeps) n += b == chime;
    return n;
}

std::string buildName(const ::testing::TestParamInfo<Build>& info) {
    return info.param == Build::Masked ? "horatta" : "horatta_t";
}

class ClockTick : public ::testing::TestWithParam<Build> {};

TEST_P(ClockTick, ADayShowsEverySecondOnceInOrderAndChimesEachFullHourOnce) {
    Simulator sim(GetParam(), at(2026, 12, 5, 23, 59, 59, 200));
    EXPECT_EQ(sim.form().Label1.ToolTipText, " Saturday,Dec 5,2026 ");
    sim.runUntil(at(2026, 12, 6, 0, 0, 0, 900));
    EXPECT_EQ(sim.form().Label1.ToolTipText, " Sunday,Dec 6,2026 ") << "the date tool-tip follows midnight";
    sim.runUntil(at(2026, 12, 6, 23, 59, 59, 900));

    const auto ticks = sim.ticksOf(TimerId::Timer1);
    ASSERT_EQ(ticks.size(), 86400u);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        ASSERT_EQ(ticks[i].caption, TimeOfDay::fromSeconds(static_cast<std::int64_t>(i)).hms()) << "tick " << i;
        ASSERT_EQ(ticks[i].left, 150);
        ASSERT_TRUE(ticks[i].visible);
    }

    std::vector<std::int64_t> chimeTimes;
    for (const auto& b : sim.platform().beeps) {
        EXPECT_EQ(b, chime);
        chimeTimes.push_back(b.atMs);
    }
    ASSERT_EQ(chimeTimes.size(), 24u);
    for (int hour = 0; hour < 24; ++hour)
        EXPECT_EQ(fromMs(chimeTimes[static_cast<std::size_t>(hour)]).timeOfDay(), *TimeOfDay::fromHms(hour, 0, 0));
}

// Ticks of 50 or 500 ms see the full-hour second several times; it still chimes once, in
// scroll mode, in a blinking alert (short text) and in a scrolling one (long text).
TEST_P(ClockTick, FastTicksAcrossAFullHourChimeOnce) {
    for (const char* alert : {"", "Tea", "A reminder far too long to fit on the face"}) {
        SCOPED_TRACE(alert);
        Simulator sim(GetParam(), at(2026, 12, 6, 12, 59, 58, 0), {{"t9", "1"}});
        if (*alert) {
            sim.form().Text1.Text = alert;
            sim.form().StartReminderAlert();
        }
        sim.runUntil(at(2026, 12, 6, 13, 0, 2, 0));
        int ticksInTheHourSecond = 0;
        for (const auto& t : sim.ticksOf(TimerId::Timer1))
            ticksInTheHourSecond += fromMs(t.firedMs).timeOfDay() == *TimeOfDay::fromHms(13, 0, 0);
        EXPECT_GT(ticksInTheHourSecond, 1);
        EXPECT_EQ(chimesIn(sim.platform().beeps), 1);
    }
}

TEST_P(ClockTick, ScrollModeMovesTheMemoAndWrapsItSilently) {
    Simulator sim(GetParam(), at(2026, 12, 6, 10, 0, 5, 0), {{"t9", "1"}, {"t", "2"}, {"text", "Buy butter"}});
    Form1& form = sim.form();
    ASSERT_EQ(form.Label1.caption(), "Buy butter");
    const float width = form.Label1.Width;  // 750 twips: one step lands exactly on the wrap
    sim.runFor(20'000);

    const auto ticks = sim.ticksOf(TimerId::Timer1);
    ASSERT_GT(ticks.size(), 300u);
    float expected = 150;
    for (const auto& t : ticks) {
        expected -= 20;
        if (expected <= -width) expected = form.Picture1.Width;
        ASSERT_EQ(t.left, expected);
        ASSERT_EQ(t.caption, "Buy butter");
        ASSERT_TRUE(t.beeps.empty());
    }
    EXPECT_EQ(form.Timer1.interval(), 50);
}

TEST_P(ClockTick, ScrollModeReplacesAnyOtherCaptionByTheRunningTime) {
    Simulator sim(GetParam(), at(2026, 12, 6, 10, 0, 5, 0), {{"t9", "1"}, {"t", "2"}, {"text", "Buy milk"}});
    sim.runFor(200);
    sim.form().Text2.Text = "Buy bread";  // edited while it scrolls
    sim.runFor(60);
    EXPECT_EQ(sim.form().Label1.caption(), "10:00:05");
    sim.runFor(2000);
    EXPECT_EQ(sim.form().Label1.caption(), "10:00:07");
}

// horatta-t shows the power-off time in Label2 after every tick; horatta leaves it alone.
TEST_P(ClockTick, Label2ShowsThePowerOffTimeInHorattaT) {
    for (auto [stored, longTime] : {std::pair{"21:30:00", "9:30:00 PM"}, std::pair{"00:00:00", "12:00:00 AM"}}) {
        Simulator sim(GetParam(), at(2026, 12, 6, 10, 0, 5, 0), {{"time", stored}});
        sim.runFor(1100);
        EXPECT_EQ(sim.form().Label2.caption(), GetParam() == Build::Plain ? longTime : stored);
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, ClockTick, ::testing::Values(Build::Masked, Build::Plain), buildName);

}  // namespace
}  // namespace horatta::testing
