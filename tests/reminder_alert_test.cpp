#include <gtest/gtest.h>

#include <cmath>

#include "support/simulator.h"

namespace horatta::testing {
namespace {

const BeepCall lowTone{3100, 200, 0};
const BeepCall highTone{3110, 200, 0};

std::string buildName(const ::testing::TestParamInfo<Build>& info) {
    return info.param == Build::Masked ? "horatta" : "horatta_t";
}

// Arms a reminder the way the reminder panel does, then puts the message in place.
void armReminder(Simulator& sim, const char* time, const std::string& message) {
    sim.form().reminderField().setText(time);
    sim.form().Picture2_DblClick();
    ASSERT_EQ(sim.form().reminderTime.hms(), time);
    sim.form().Text1.Text = message;
}

std::vector<Tick> alertTicksOf(const Simulator& sim) {
    std::vector<Tick> out;
    for (const auto& t : sim.ticks())
        if (t.timer == TimerId::Timer1 && t.alertOnBefore == 1) out.push_back(t);
    return out;
}

class ReminderAlert : public ::testing::TestWithParam<Build> {};

TEST_P(ReminderAlert, ANarrowTextBlinksFor119TicksWith57BeepPairs) {
    Simulator sim(GetParam(), at(2026, 12, 6, 11, 59, 50, 300));
    armReminder(sim, "12:00:05", "Tea time");
    sim.runUntil(at(2026, 12, 6, 12, 2, 0, 500));

    const auto alert = alertTicksOf(sim);
    ASSERT_EQ(alert.size(), 119u);
    // The watch tick of 12:00:05.015 started it (hidden, at the 50 ms pace); the first
    // alert tick follows 50 ms later, then every 500 ms.
    EXPECT_EQ(fromMs(alert.front().firedMs), at(2026, 12, 6, 12, 0, 5, 65));
    for (std::size_t i = 1; i < alert.size(); ++i) EXPECT_EQ(alert[i].firedMs % 500, 15) << "tick " << i;

    std::vector<int> hidePhases, silentHidePhases;
    int pairs = 0;
    for (const auto& t : alert) {
        EXPECT_EQ(t.width, 995);
        EXPECT_FALSE(t.autoSize);
        if (t.visible) {
            EXPECT_TRUE(t.beeps.empty());
            continue;
        }
        hidePhases.push_back(t.ticksLeft);
        if (t.beeps.empty()) {
            silentHidePhases.push_back(t.ticksLeft);
        } else {
            EXPECT_EQ(t.beeps, (std::vector<BeepCall>{lowTone, highTone}));
            ++pairs;
        }
        EXPECT_EQ(t.left, -25);
        EXPECT_EQ(t.alignment, Alignment::Center);
    }
    ASSERT_EQ(hidePhases.size(), 59u);
    EXPECT_EQ(hidePhases.front(), 59);
    EXPECT_EQ(hidePhases.back(), 1);
    EXPECT_EQ(silentHidePhases, (std::vector<int>{52, 26}));
    EXPECT_EQ(pairs, 57);

    // Its last tick shows the time; it ends in the normal clock, keeping the width of the
    // face with AutoSize off.
    EXPECT_EQ(alert.back().caption, fromMs(alert.back().firedMs).timeOfDay().hms());
    Form1& form = sim.form();
    EXPECT_EQ(form.reminderAlertOn, 0);
    EXPECT_EQ(form.ticksLeft, 60);
    EXPECT_EQ(form.Label1.caption(), "12:02:00");
    EXPECT_TRUE(form.Label1.Visible);
    EXPECT_EQ(form.Label1.Left, 150);
    EXPECT_EQ(form.Label1.alignment, Alignment::Left);
    EXPECT_FALSE(form.Label1.autoSize());
    EXPECT_EQ(form.Timer1.interval(), 1000);

    // So any later reminder fits the face and blinks, however long its text.
    form.Text1.Text = "A reminder far too long to fit on the face";
    form.StartReminderAlert();
    sim.runFor(60);
    EXPECT_EQ(form.Label1.Left, -25);
}

TEST_P(ReminderAlert, AWideTextScrollsAndBeepsAtEachOfTenWraps) {
    Simulator sim(GetParam(), at(2026, 12, 6, 11, 59, 50, 300));
    const std::string message = "Call the plumber about the leak";
    armReminder(sim, "12:00:05", message);
    sim.runUntil(at(2026, 12, 6, 12, 3, 0, 500));

    const auto alert = alertTicksOf(sim);
    const float width = sim.platform().textWidth(message);
    // From the rest position off the left edge, then nine more passes from the right edge.
    const auto firstPass = static_cast<std::size_t>(std::ceil((150 + width) / 20));
    const auto pass = static_cast<std::size_t>(std::ceil((995 + width) / 20));
    ASSERT_EQ(alert.size(), firstPass + 9 * pass);

    int wraps = 0;
    for (const auto& t : alert) {
        EXPECT_TRUE(t.visible);
        EXPECT_TRUE(t.autoSize);
        if (t.beeps.empty()) continue;
        ++wraps;
        EXPECT_EQ(t.beeps, (std::vector<BeepCall>{lowTone, highTone}));
        if (wraps < 10) {
            EXPECT_EQ(t.left, 995);
        }
    }
    EXPECT_EQ(wraps, 10);

    Form1& form = sim.form();
    EXPECT_EQ(form.reminderAlertOn, 0);
    EXPECT_EQ(form.ticksLeft, 60);
    EXPECT_TRUE(form.Label1.autoSize());
    EXPECT_EQ(form.Label1.Left, 150);
    EXPECT_EQ(form.Label1.caption(), form.timeText());
    EXPECT_EQ(form.Timer1.interval(), 1000);
}

TEST_P(ReminderAlert, ABlinkingAlertStartingWithTheCounterSpentIsSilent) {
    Simulator sim(GetParam(), at(2026, 12, 6, 12, 9, 50, 300));
    armReminder(sim, "12:10:05", "Tea");
    sim.form().ticksLeft = -3;  // as a power-off countdown can leave it
    sim.runUntil(at(2026, 12, 6, 12, 10, 10, 500));
    EXPECT_EQ(alertTicksOf(sim).size(), 1u);
    EXPECT_TRUE(sim.platform().beeps.empty());
    EXPECT_EQ(sim.form().Label1.caption(), "12:10:10");
    EXPECT_EQ(sim.form().ticksLeft, 60);
}

TEST_P(ReminderAlert, TheTextThatFitsExactlyBlinksAndOneTwipMoreScrolls) {
    struct Case {
        float twipsPerCharacter;
        bool blinks;
    };
    for (const Case c : {Case{199.0f, true}, Case{199.2f, false}}) {  // 5 characters: 995 and 996 twips
        Simulator sim(GetParam(), at(2026, 12, 6, 11, 0, 0, 500));
        sim.platform().twipsPerCharacter = c.twipsPerCharacter;
        sim.form().Text1.Text = "Hello";
        sim.form().StartReminderAlert();
        sim.runFor(60);
        EXPECT_EQ(sim.form().Label1.Left, c.blinks ? -25 : 130) << c.twipsPerCharacter;
        EXPECT_EQ(sim.form().Timer1.interval(), c.blinks ? 500 : 50);
    }
}

// The reminder follows the same rule as the power-off when the wall clock jumps.
TEST_P(ReminderAlert, AClockThatJumpsOverTheSecondAlertsOnlyAfterASmallStep) {
    struct Case {
        std::int64_t stepMs;
        bool alerts;
    };
    for (const Case c : {Case{3'000, true}, Case{60'000, true}, Case{90'000, false}, Case{3'600'000, false},
                         Case{-600'000, false}}) {
        SCOPED_TRACE(c.stepMs);
        Simulator sim(GetParam(), at(2026, 12, 6, 11, 59, 50, 300));
        armReminder(sim, "12:00:05", "Tea time");
        sim.runUntil(at(2026, 12, 6, 12, 0, 3, 700));
        sim.stepClock(c.stepMs);
        sim.runFor(2'000);
        EXPECT_EQ(sim.alertTicks() > 0, c.alerts);
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, ReminderAlert, ::testing::Values(Build::Masked, Build::Plain), buildName);

}  // namespace
}  // namespace horatta::testing
