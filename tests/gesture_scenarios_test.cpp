#include <gtest/gtest.h>

#include "support/simulator.h"
#include "support/started_clock.h"

namespace horatta::testing {
namespace {

const std::string powerOffSuffix = " 关机";

std::int64_t ms(int hour, int minute, int second, int millisecond = 0) {
    return toMs(at(2026, 12, 6, hour, minute, second, millisecond));
}

void press(Simulator& sim, ControlId field, std::int16_t code) { sim.form().timeFieldKeyPress(field, code); }

void type(Simulator& sim, ControlId field, std::string_view keys) {
    for (char c : keys) press(sim, field, static_cast<std::int16_t>(c));
}

// Lets the blink run until the open field is shown and holds the keyboard, as it is when
// the user starts typing. Returns how long that took.
std::int64_t waitForField(Simulator& sim, TimeField& field) {
    const std::int64_t from = sim.nowMs();
    EXPECT_TRUE(sim.runUntilTrue([&] { return field.Visible && sim.form().focus() == field.id; }, from + 5000));
    return sim.nowMs() - from;
}

// The whole road of one scheduled power-off, as a user makes it.
TEST(PowerOffRoad, DoubleClickTypeEnterThenCountdownAndPowerOff) {
    for (Build build : {Build::Masked, Build::Plain}) {
        SCOPED_TRACE(buildName(build));
        Simulator sim(build, at(2026, 12, 6, 23, 57, 10, 300));
        Form1& f = sim.form();
        TimeField& field = f.shutdownField();
        const Color red = Color::rgb(255, 0, 0);
        ASSERT_EQ(f.Label1.ForeColor, red);
        ASSERT_EQ(f.Picture1.Picture, Image::Skin8);

        f.Label1.setAutoSize(false);  // as a finished blinking alert leaves it

        // The first press of the double-click steps the colour; the double-click undoes it,
        // parks the skin and opens the blinking field.
        f.Label1_MouseDown(buttonLeft, 0, 0, 0);
        ASSERT_EQ(f.Label1.ForeColor, Color::rgb(0, 255, 0));
        f.Label1_DblClick();
        EXPECT_EQ(f.Label1.ForeColor, red);
        EXPECT_EQ(f.Picture1.Picture, Image::None);
        EXPECT_EQ(f.Picture, Image::Skin8);
        EXPECT_FALSE(f.Label1.Visible);
        EXPECT_FALSE(f.Label3.Visible);
        EXPECT_TRUE(field.Visible);

        const std::int64_t opened = sim.nowMs();
        ASSERT_TRUE(sim.runUntilTrue([&] { return !field.Visible; }, opened + 5000));
        EXPECT_EQ(sim.nowMs() - opened, 600);
        ASSERT_TRUE(sim.runUntilTrue([&] { return field.Visible; }, opened + 5000));
        EXPECT_EQ(sim.nowMs() - opened, 1200);
        EXPECT_EQ(f.focus(), field.id);
        EXPECT_FALSE(f.Timer3.enabled()) << "no watch while the time is edited";

        // The first digit stops the blink, clears the field and shows the caret, once.
        type(sim, field.id, "2");
        EXPECT_FALSE(f.Timer2.enabled());
        EXPECT_EQ(field.text(), build == Build::Masked ? "2 :  :  " : "2");
        type(sim, field.id, "35959");
        EXPECT_EQ(field.text(), "23:59:59");
        EXPECT_EQ(sim.platform().callsStartingWith("showCaret"),
                  std::vector<std::string>{"showCaret " + std::string(controlName(field.id))});
        sim.runFor(2000);
        EXPECT_TRUE(field.Visible) << "the blink stays stopped";

        sim.platform().memory.writtenNames.clear();
        press(sim, field.id, keyEnter);
        EXPECT_EQ(f.shutdownTime, *TimeOfDay::fromHms(23, 59, 59));
        EXPECT_EQ(sim.platform().memory.writtenNames, (std::vector<std::string>{"TIME", "TIME2"}));
        EXPECT_EQ(sim.platform().stored("TIME"), "11:59:59 PM") << "the long time text";
        EXPECT_EQ(sim.platform().stored("TIME2"), "11") << "the colour on screen";
        EXPECT_EQ(f.Label1.autoSize(), build == Build::Plain);
        EXPECT_EQ(f.Label1.ForeColor, red);
        EXPECT_EQ(f.Picture1.Picture, Image::Skin8);
        EXPECT_FALSE(field.Visible);
        EXPECT_TRUE(f.Label1.Visible);
        EXPECT_TRUE(f.Label3.Visible);
        EXPECT_TRUE(f.Timer3.enabled());
        EXPECT_EQ(f.shutdownEntryStarted, 0);
        f.Label1_MouseDown(buttonLeft, 0, 0, 0);
        EXPECT_EQ(f.Label1.ForeColor, Color::rgb(0, 255, 0)) << "the colour steps on from the one committed";

        // The last minute counts down on the face, then the computer is powered off.
        sim.runUntil(ms(23, 58, 58, 900));
        EXPECT_TRUE(f.Timer1.enabled());
        EXPECT_EQ(f.Label1.caption(), "23:58:58");
        sim.clearRecord();
        sim.runUntil(ms(23, 59, 0, 100));
        auto watch = sim.captionsAfter(TimerId::Timer3);
        ASSERT_FALSE(watch.empty());
        EXPECT_EQ(watch.front(), "60" + powerOffSuffix);
        EXPECT_EQ(watch.back(), "59" + powerOffSuffix);
        EXPECT_FALSE(f.Timer1.enabled());
        EXPECT_EQ(sim.platform().powerOffCount, 0);

        sim.runUntil(ms(23, 59, 59, 100));
        EXPECT_EQ(f.Label1.caption(), "0" + powerOffSuffix);
        EXPECT_GE(sim.platform().powerOffCount, 1);
        auto power = sim.platform().callsStartingWith("e");
        ASSERT_GE(power.size(), 2u);
        EXPECT_EQ(power[0], "enableShutdownPrivilege");
        EXPECT_EQ(power[1], "exitWindows 13 0");

        // The stored time arms the same power-off at the next start.
        sim.restart();
        EXPECT_EQ(sim.form().shutdownTime, *TimeOfDay::fromHms(23, 59, 59));
    }
}

// Setting a reminder: a double-click on the face opens the reminder-time field; Enter
// applies it and slides the message open, selected for typing over.
TEST(Reminder, EnterPathSlidesTheMessageOpenAndSelectsIt) {
    for (Build build : {Build::Masked, Build::Plain}) {
        SCOPED_TRACE(buildName(build));
        Simulator sim(build);
        Form1& f = sim.form();
        f.Picture1_Click();
        f.Picture1_DblClick();
        TimeField& field = f.reminderField();
        EXPECT_EQ(waitForField(sim, field), 1200);
        EXPECT_TRUE(f.Timer3.enabled()) << "only the shutdown field stops the watch";
        type(sim, field.id, "183700");
        EXPECT_EQ(f.reminderEntryStarted, 1);
        press(sim, field.id, keyEnter);

        EXPECT_EQ(f.reminderTime, *TimeOfDay::fromHms(18, 37, 0));
        EXPECT_EQ(f.Text1.Text, "18:37:00") << "the start-up message reads as a time";
        EXPECT_TRUE(f.Text1.Visible);
        EXPECT_EQ(f.Text1.Top, 580);
        EXPECT_EQ(f.Height, 870);
        EXPECT_EQ(f.reminderEntryStarted, 0);
        EXPECT_FALSE(f.Timer2.enabled());
        EXPECT_TRUE(field.Visible) << "the reminder field stays";
        EXPECT_EQ(f.focus(), ControlId::Text1);
        EXPECT_EQ(f.Text1.SelStart, 0);
        EXPECT_EQ(f.Text1.SelLength, 8);
    }
}

TEST(Reminder, DoubleClickOnThePanelAppliesWithoutResetAndSlidesOnlyAClosedMessage) {
    for (Build build : {Build::Masked, Build::Plain}) {
        SCOPED_TRACE(buildName(build));
        StartedClock clock(build);
        Form1& f = clock.f();
        f.Picture1_DblClick();
        f.Timer2_Timer();
        f.Timer2_Timer();
        clock.typeReminder("183700");
        f.Picture2_DblClick();
        EXPECT_EQ(f.reminderTime, *TimeOfDay::fromHms(18, 37, 0));
        EXPECT_TRUE(f.Text1.Visible);
        EXPECT_EQ(f.Text1.Top, 580);
        EXPECT_EQ(f.Height, 870);
        EXPECT_EQ(f.reminderEntryStarted, 1) << "no reset on this path";
        EXPECT_FALSE(f.Timer2.enabled());
        EXPECT_TRUE(f.reminderField().Visible);
        EXPECT_EQ(f.focus(), ControlId::Text1);

        // The message is open now: a second time is applied where the message stands.
        f.Text1.Top = 400;
        f.Height = 700;
        f.reminderField().setText("18:45:00");
        f.Picture2_DblClick();
        EXPECT_EQ(f.reminderTime, *TimeOfDay::fromHms(18, 45, 0));
        EXPECT_EQ(f.Text1.Top, 400);
        EXPECT_EQ(f.Height, 700);
    }
}

// A message that still reads as a time (the last reminder's, or the start-up one) shows the
// new time; one the user wrote is kept. horatta-t also fills an empty message.
TEST(Reminder, TheMessageTakesTheTimeOnlyWhenItReadsAsATime) {
    struct Case {
        const char* message;
        bool replaced, replacedInPlain;
    };
    const Case cases[]{{"6:00:00 PM", true, true}, {"18:00", true, true}, {"2026-12-06", true, true},
                       {"Call Anna", false, false}, {"", false, true}};
    for (Build build : {Build::Masked, Build::Plain}) {
        for (bool byEnter : {true, false}) {
            for (const Case& c : cases) {
                SCOPED_TRACE(std::string(buildName(build)) + ", \"" + c.message + (byEnter ? "\" by Enter" : "\" by double-click"));
                StartedClock clock(build);
                Form1& f = clock.f();
                f.Text1.Text = c.message;
                f.reminderField().setText("19:15:00");
                if (byEnter) f.applyReminderEntryByEnter();
                else f.Picture2_DblClick();
                const bool replaced = build == Build::Plain ? c.replacedInPlain : c.replaced;
                EXPECT_EQ(f.Text1.Text, replaced ? "19:15:00" : c.message);
            }
        }
    }
}

}  // namespace
}  // namespace horatta::testing
