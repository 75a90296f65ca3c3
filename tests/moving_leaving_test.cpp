#include <gtest/gtest.h>

#include <functional>

#include "support/simulator.h"

namespace horatta::testing {
namespace {

const std::vector<std::string> exitValues{"t9", "t", "ta", "tb"};

std::string buildName(const ::testing::TestParamInfo<Build>& info) {
    return info.param == Build::Masked ? "horatta" : "horatta_t";
}

class MovingLeaving : public ::testing::TestWithParam<Build> {};

struct StopCase {
    const char* name;
    std::function<void(Simulator&)> setUp;
};

TEST_P(MovingLeaving, ADoubleClickStopsAnAlertOrACountdownWithoutWritingAnything) {
    const std::vector<StopCase> cases{
        {"blinking alert, text shown",
         [](Simulator& sim) {
             sim.form().Text1.Text = "Tea";
             sim.form().StartReminderAlert();
             sim.runFor(1000);
         }},
        {"blinking alert, text hidden",
         [](Simulator& sim) {
             sim.form().Text1.Text = "Tea";
             sim.form().StartReminderAlert();
             sim.runFor(600);
         }},
        {"scrolling alert",
         [](Simulator& sim) {
             sim.form().Text1.Text = "A reminder far too long to fit on the face";
             sim.form().StartReminderAlert();
             sim.runFor(3000);
         }},
        {"power-off countdown",
         [](Simulator& sim) {
             sim.form().shutdownTime = *TimeOfDay::fromHms(12, 0, 30);
             sim.runFor(10'000);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Simulator sim(GetParam(), at(2026, 12, 6, 11, 59, 40, 500), {{"time", "21:30:00"}});
        c.setUp(sim);
        Form1& form = sim.form();
        ASSERT_TRUE(form.reminderAlertOn == 1 || !form.Timer1.enabled());
        sim.platform().memory.writtenNames.clear();
        const std::int16_t ticksLeft = form.ticksLeft;
        const int timer3Interval = form.Timer3.interval();

        form.Label3_DblClick();

        EXPECT_FALSE(sim.ended());
        EXPECT_TRUE(sim.platform().memory.writtenNames.empty());
        EXPECT_EQ(form.reminderAlertOn, 0);
        EXPECT_TRUE(form.Label1.autoSize());
        EXPECT_EQ(form.Label1.alignment, Alignment::Left);
        EXPECT_EQ(form.Label1.Left, 150);
        EXPECT_TRUE(form.Label1.Visible);
        EXPECT_TRUE(form.Timer1.enabled());
        EXPECT_EQ(form.Timer1.interval(), 1000);
        EXPECT_TRUE(form.shutdownTime.isMidnight());  // however far ahead it lay
        EXPECT_EQ(form.ticksLeft, ticksLeft);
        EXPECT_EQ(form.Timer3.interval(), timer3Interval);

        sim.runFor(1000);
        EXPECT_EQ(form.Label1.caption(), form.timeText());
        const std::size_t beeps = sim.platform().beeps.size();
        sim.runFor(5000);
        EXPECT_EQ(sim.platform().beeps.size(), beeps);
    }
}

TEST_P(MovingLeaving, ASecondDoubleClickAfterStoppingSavesAndLeaves) {
    Simulator sim(GetParam(), at(2026, 12, 6, 11, 59, 40, 500));
    sim.form().Text1.Text = "Tea";
    sim.form().StartReminderAlert();
    sim.runFor(1000);
    sim.form().Label3_DblClick();
    EXPECT_FALSE(sim.ended());
    sim.runFor(1000);
    sim.form().Label3_DblClick();
    EXPECT_TRUE(sim.ended());
}

struct ExitCase {
    const char* name;
    Simulator::Settings stored;
    std::function<void(Simulator&)> setUp;
    const char* t9;
    const char* t;
};

TEST_P(MovingLeaving, ADoubleClickInTheRunningClockSavesFourValuesInOrderAndEnds) {
    const std::vector<ExitCase> cases{
        {"normal clock", {}, [](Simulator&) {}, "0", "1"},
        {"normal clock, a new second not yet shown",
         {},
         [](Simulator& sim) { sim.platform().advanceMs(990); },
         "0",
         "2"},
        {"scroll mode with the memo", {{"t9", "1"}, {"t", "2"}, {"text", "Buy milk"}}, [](Simulator&) {}, "1", "2"},
        {"scroll mode with the time", {{"t9", "1"}, {"t", "1"}, {"text", "Buy milk"}}, [](Simulator&) {}, "1", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Simulator sim(GetParam(), at(2026, 12, 6, 9, 15, 0, 0), c.stored);
        sim.runFor(1000 + 20);  // the face shows 09:15:01
        c.setUp(sim);
        sim.platform().memory.writtenNames.clear();

        sim.form().Label3_DblClick();

        EXPECT_EQ(sim.platform().memory.writtenNames, exitValues);
        EXPECT_EQ(sim.platform().stored("t9"), c.t9);
        EXPECT_EQ(sim.platform().stored("t"), c.t);
        EXPECT_EQ(sim.platform().stored("ta"), "600");
        EXPECT_EQ(sim.platform().stored("tb"), "13605");
        EXPECT_EQ(sim.platform().endProgramCount, 1);
        EXPECT_EQ(sim.platform().calls.back(), "endProgram");

        // Nothing runs once the program has ended.
        const std::size_t ticks = sim.ticks().size();
        sim.runFor(5000);
        EXPECT_EQ(sim.ticks().size(), ticks);
    }
}

TEST_P(MovingLeaving, TheNextStartComesBackWhereTheWindowWasLeft) {
    struct Case {
        WindowPosition moved;
        const char* left;
        const char* top;
    };
    const Case cases[]{
        {{4200, 900}, "4200", "900"},
        {{4200.5f, 900.25f}, "4200.5", "900.25"},
        {{-15000, 0}, "-15000", "0"},  // on a screen left of the primary one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.left);
        Simulator sim(GetParam(), at(2026, 12, 6, 9, 15, 0, 0));
        sim.platform().screenRects = {{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}};
        sim.platform().dragTo = c.moved;
        sim.form().Label3_MouseDown(buttonLeft, 0, 10, 10);
        EXPECT_EQ(sim.form().Left, c.moved.left);
        EXPECT_EQ(sim.form().Top, c.moved.top);

        sim.form().Label3_DblClick();
        EXPECT_EQ(sim.platform().stored("tb"), c.left);
        EXPECT_EQ(sim.platform().stored("ta"), c.top);

        sim.restart();
        EXPECT_EQ(sim.form().Left, c.moved.left);
        EXPECT_EQ(sim.form().Top, c.moved.top);
    }
}

TEST_P(MovingLeaving, APressDragsFirstAndChangesNothingWhileTheMouseIsHeld) {
    for (std::int16_t button : {buttonLeft, buttonRight, buttonMiddle}) {
        SCOPED_TRACE(button);
        Simulator sim(GetParam(), at(2026, 12, 6, 9, 15, 0, 0));
        Form1& form = sim.form();
        const std::int16_t scrollOn = form.scrollOn;
        const std::string caption = form.Label1.caption();
        bool unchangedDuringDrag = false;
        sim.platform().duringDrag = [&] {
            unchangedDuringDrag = form.scrollOn == scrollOn && form.Label1.caption() == caption;
        };
        form.Label3_MouseDown(button, 0, 10, 10);
        EXPECT_EQ(sim.platform().callsStartingWith("dragWindow"), std::vector<std::string>{"dragWindow Form1"});
        EXPECT_TRUE(unchangedDuringDrag);
        if (button == buttonLeft) {
            EXPECT_EQ(form.scrollOn, scrollOn);
        }
        EXPECT_FALSE(sim.ended());
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, MovingLeaving, ::testing::Values(Build::Masked, Build::Plain), buildName);

}  // namespace
}  // namespace horatta::testing
