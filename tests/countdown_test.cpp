#include <gtest/gtest.h>

#include "support/simulator.h"

namespace horatta::testing {
namespace {

std::string countdownCaption(int seconds) { return std::to_string(seconds) + " 关机"; }

bool isCountdownCaption(const std::string& caption) { return caption.find("关机") != std::string::npos; }

std::vector<std::string> powerCalls(const FakePlatform& platform) {
    std::vector<std::string> out;
    for (const auto& c : platform.calls)
        if (c == "enableShutdownPrivilege" || c.rfind("exitWindows", 0) == 0) out.push_back(c);
    return out;
}

std::string buildName(const ::testing::TestParamInfo<Build>& info) {
    return info.param == Build::Masked ? "horatta" : "horatta_t";
}

class Countdown : public ::testing::TestWithParam<Build> {};

TEST_P(Countdown, TheLastMinuteCountsDownAndPowersOffAtTheSetSecond) {
    Simulator sim(GetParam(), at(2026, 12, 6, 22, 58, 30, 400), {{"time", "23:00:00"}});
    const std::int64_t minuteBefore = toMs(at(2026, 12, 6, 22, 59, 0));

    sim.runUntil(at(2026, 12, 6, 23, 0, 0, 0));
    EXPECT_EQ(sim.platform().powerOffCount, 0);
    sim.runUntil(at(2026, 12, 6, 23, 0, 0, 100));
    EXPECT_EQ(sim.platform().powerOffCount, 1);
    sim.runUntil(at(2026, 12, 6, 23, 0, 1, 0));
    // At 500 ms the set second is seen twice, and each sighting asks again.
    EXPECT_EQ(powerCalls(sim.platform()), (std::vector<std::string>{"enableShutdownPrivilege", "exitWindows 13 0",
                                                                   "enableShutdownPrivilege", "exitWindows 13 0"}));

    std::vector<Tick> countdown;
    for (const auto& t : sim.ticksOf(TimerId::Timer3)) {
        if (t.firedMs >= minuteBefore) countdown.push_back(t);
        else EXPECT_FALSE(isCountdownCaption(t.caption));
    }
    ASSERT_EQ(countdown.size(), 122u);
    std::vector<int> beepsAt;
    for (std::size_t i = 0; i < countdown.size(); ++i) {
        const Tick& t = countdown[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(t.firedMs, minuteBefore + 15 + 500 * static_cast<std::int64_t>(i));
        EXPECT_EQ(t.caption, countdownCaption(60 - static_cast<int>(i) / 2));
        EXPECT_EQ(t.visible, i % 2 == 1);
        EXPECT_EQ(t.alignment, Alignment::Center);
        EXPECT_EQ(t.ticksLeft, t.ticksLeftBefore - 1);
        if (!t.beeps.empty()) {
            EXPECT_EQ(t.beeps, (std::vector<BeepCall>{{1342, 300, 0}}));
            beepsAt.push_back(t.ticksLeftBefore);
        }
    }
    EXPECT_EQ(beepsAt, (std::vector<int>{56, 49, 42, 35, 28, 21, 14, 7, 0, -7, -14, -21, -28, -35, -42, -49, -56}));

    // The face stood still from the first countdown tick on.
    EXPECT_FALSE(sim.form().Timer1.enabled());
    EXPECT_EQ(sim.ticksOf(TimerId::Timer1).back().firedMs, minuteBefore + 15);
    EXPECT_EQ(sim.form().Timer3.interval(), 500);
}

// The program outlived its power-off (no bus, a refusal): two seconds after the set second
// the face is the clock again, nothing is written, and the power-off comes the next day.
TEST_P(Countdown, APowerOffThatDoesNotHappenGivesTheFaceBackTwoSecondsLater) {
    Simulator sim(GetParam(), at(2026, 12, 6, 22, 59, 50, 0), {{"time", "23:00:00"}});
    Form1& form = sim.form();
    const auto writesBefore = sim.platform().memory.writtenNames;
    sim.runUntil(at(2026, 12, 6, 23, 0, 1, 900));
    EXPECT_EQ(sim.platform().powerOffCount, 2);
    EXPECT_EQ(form.Label1.caption(), countdownCaption(0));
    EXPECT_EQ(form.faceMode(), FaceMode::Countdown);

    sim.runUntil(at(2026, 12, 6, 23, 0, 2, 100));
    EXPECT_EQ(form.faceMode(), FaceMode::Clock);
    EXPECT_EQ(form.Label1.caption(), "23:00:02");
    EXPECT_TRUE(form.Label1.Visible);
    EXPECT_EQ(form.Label1.Left, 150);
    EXPECT_EQ(form.ticksLeft, 60);
    EXPECT_EQ(sim.platform().memory.writtenNames, writesBefore);
    sim.runUntil(at(2026, 12, 6, 23, 0, 30, 100));
    EXPECT_EQ(form.Label1.caption(), "23:00:30") << "the clock runs on, and so does the hourly chime";

    sim.runUntil(at(2026, 12, 7, 23, 0, 0, 600));
    EXPECT_EQ(sim.platform().powerOffCount, 4) << "still armed for the next day";
}

// A cancel during the countdown holds for the rest of this run, not for the next one.
TEST_P(Countdown, Label3CancelsForThisRunOnly) {
    Simulator sim(GetParam(), at(2026, 12, 6, 22, 59, 50, 0), {{"time", "23:00:00"}});
    Form1& form = sim.form();
    sim.runUntil(at(2026, 12, 6, 22, 59, 55, 0));
    const auto writesBefore = sim.platform().memory.writtenNames;
    form.Label3_DblClick();
    EXPECT_FALSE(sim.ended());
    EXPECT_EQ(sim.platform().memory.writtenNames, writesBefore);
    EXPECT_EQ(form.faceMode(), FaceMode::Clock);
    EXPECT_TRUE(form.shutdownTime.isMidnight());
    sim.runFor(500);
    EXPECT_EQ(form.Label1.caption(), form.timeText());
    EXPECT_TRUE(form.Label1.Visible);

    sim.runUntil(at(2026, 12, 7, 23, 0, 1, 0));
    EXPECT_EQ(sim.platform().powerOffCount, 0);
    EXPECT_EQ(sim.platform().stored("time"), "23:00:00");
    sim.restart();
    EXPECT_EQ(sim.form().shutdownTime, *TimeOfDay::fromHms(23, 0, 0));
}

// The wall clock jumps while the countdown runs. A small forward step over the set second
// (a time server's correction) still powers off at once; a long gap (a sleep, a large
// change) never powers off on waking, even when it wakes on the set second; a clock set
// back does not freeze the face. Whatever happened, the face ends on the running clock.
TEST_P(Countdown, AClockThatJumpsNeitherMissesNorSpringsThePowerOff) {
    struct Case {
        const char* what;
        DateTime stepAt;
        std::int64_t stepMs;
        bool powersOff;
    };
    const Case cases[]{
        {"5 s forward over it", at(2026, 12, 6, 22, 59, 58, 700), 5'000, true},
        {"60 s forward over it", at(2026, 12, 6, 22, 59, 58, 700), 60'000, true},
        {"90 s forward over it", at(2026, 12, 6, 22, 59, 58, 700), 90'000, false},
        {"a sleep of two hours", at(2026, 12, 6, 22, 59, 58, 700), 7'200'000, false},
        {"a sleep that wakes on it", at(2026, 12, 6, 21, 59, 59, 600), 3'600'300, false},
        {"ten minutes back", at(2026, 12, 6, 22, 59, 58, 700), -600'000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Simulator sim(GetParam(), fromMs(toMs(c.stepAt) - 20'000), {{"time", "23:00:00"}});
        sim.runUntil(c.stepAt);
        sim.stepClock(c.stepMs);
        sim.runFor(5'000);
        EXPECT_EQ(sim.platform().powerOffCount > 0, c.powersOff);
        EXPECT_EQ(sim.form().faceMode(), FaceMode::Clock);
        EXPECT_EQ(sim.form().Label1.caption(), sim.form().timeText());
        EXPECT_TRUE(sim.form().Label1.Visible);
    }
}

TEST_P(Countdown, NothingHappensForATimePastTodayOrForMidnight) {
    struct Case {
        const char* stored;
        DateTime from, to;
    };
    const Case cases[]{
        {"11:59:30", at(2026, 12, 6, 12, 0, 0, 300), at(2026, 12, 6, 12, 5, 0)},
        {"00:00:00", at(2026, 12, 6, 23, 58, 30, 300), at(2026, 12, 7, 0, 1, 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        Simulator sim(GetParam(), c.from, {{"time", c.stored}});
        sim.runUntil(c.to);
        for (const auto& t : sim.ticks()) ASSERT_FALSE(isCountdownCaption(t.caption));
        EXPECT_EQ(sim.platform().powerOffCount, 0);
        EXPECT_TRUE(sim.form().Timer1.enabled());
        EXPECT_EQ(sim.form().Timer3.interval(), 1000);
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, Countdown, ::testing::Values(Build::Masked, Build::Plain), buildName);

}  // namespace
}  // namespace horatta::testing
