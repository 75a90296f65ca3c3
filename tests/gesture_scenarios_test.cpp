#include <gtest/gtest.h>

#include <functional>

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

        // The first digit stops the blink, clears the field and shows the caret.
        type(sim, field.id, "2");
        EXPECT_FALSE(f.Timer2.enabled());
        EXPECT_EQ(field.text(), build == Build::Masked ? "2 :  :  " : "2");
        EXPECT_EQ(sim.platform().callsStartingWith("showCaret").size(), 1u);
        type(sim, field.id, "35959");
        EXPECT_EQ(field.text(), "23:59:59");
        sim.runFor(2000);
        EXPECT_TRUE(field.Visible) << "the blink stays stopped";

        press(sim, field.id, keyEnter);
        EXPECT_EQ(f.shutdownTime, *TimeOfDay::fromHms(23, 59, 59));
        EXPECT_EQ(sim.platform().stored("TIME"), "11:59:59 PM") << "the long time text";
        EXPECT_EQ(sim.platform().stored("TIME2"), "11") << "the colour on screen";
        EXPECT_EQ(f.Label1.ForeColor, red);
        EXPECT_EQ(f.Picture1.Picture, Image::Skin8);
        EXPECT_FALSE(field.Visible);
        EXPECT_TRUE(f.Label1.Visible);
        EXPECT_TRUE(f.Label3.Visible);
        EXPECT_TRUE(f.Timer3.enabled());
        EXPECT_EQ(f.shutdownEntryStarted, 0);

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

// Enter applies only where the rules let it through.
TEST(ShutdownEntry, EnterAppliesAtSomeCaretIndexesOnly) {
    struct Row {
        Build build;
        int index;
        bool applies;
    };
    const std::vector<Row> rows{
        {Build::Masked, 0, false}, {Build::Masked, 1, false}, {Build::Masked, 3, false},
        {Build::Masked, 4, true},  {Build::Masked, 6, false}, {Build::Masked, 7, true},
        {Build::Masked, 8, true},
        {Build::Plain, 0, false},  {Build::Plain, 1, false},  {Build::Plain, 2, false},
        {Build::Plain, 3, false},  {Build::Plain, 4, true},   {Build::Plain, 5, false},
        {Build::Plain, 6, false},  {Build::Plain, 7, true},   {Build::Plain, 8, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(buildName(row.build)) + ", Enter at index " + std::to_string(row.index));
        StartedClock clock(row.build);
        Form1& f = clock.f();
        f.Label1_DblClick();
        f.Timer2_Timer();
        f.Timer2_Timer();
        clock.typeShutdown("213000");
        const ControlId id = f.shutdownFieldId();
        f.timeFieldEditKey(id, EditKey::Home);
        while (f.shutdownField().selStart() < row.index) f.timeFieldEditKey(id, EditKey::Right);
        ASSERT_EQ(f.shutdownField().selStart(), row.index);

        clock.pressShutdown(keyEnter);
        EXPECT_EQ(f.shutdownTime == *TimeOfDay::fromHms(21, 30, 0), row.applies);
        EXPECT_EQ(f.shutdownField().Visible, !row.applies);
        EXPECT_EQ(clock.platform.stored("TIME"), row.applies ? "9:30:00 PM" : "00:00:00");
    }
}

// In horatta the key after the last digit only marks the entry as done; it is applied the
// next time the field takes the keyboard, or by a double-click on the face.
TEST(ShutdownEntry, MaskedFieldAppliesAFullEntryOnTheNextFocus) {
    for (bool byDoubleClick : {false, true}) {
        SCOPED_TRACE(byDoubleClick ? "double-click on the face" : "focus");
        StartedClock clock(Build::Masked);
        Form1& f = clock.f();
        f.Label1_DblClick();
        f.Timer2_Timer();
        f.Timer2_Timer();
        clock.typeShutdown("2130001");
        EXPECT_EQ(f.shutdownEntryDone, 1);
        EXPECT_TRUE(f.shutdownField().Visible) << "not yet applied";
        EXPECT_TRUE(f.shutdownTime.isMidnight());

        if (byDoubleClick) {
            f.Picture1_DblClick();
        } else {
            f.focusArrived(ControlId::Picture1);
            f.focusArrived(ControlId::MaskEdBox1);
        }
        EXPECT_EQ(f.shutdownTime, *TimeOfDay::fromHms(21, 30, 0));
        EXPECT_FALSE(f.shutdownField().Visible);
        EXPECT_EQ(f.shutdownEntryDone, 0);
    }
}

TEST(ShutdownEntry, PlainFieldAppliesAtOnceOnTheKeyAfterTheLastDigit) {
    StartedClock clock(Build::Plain);
    Form1& f = clock.f();
    f.Label1_DblClick();
    f.Timer2_Timer();
    f.Timer2_Timer();
    clock.typeShutdown("2130009");
    EXPECT_EQ(f.shutdownTime, *TimeOfDay::fromHms(21, 30, 0));
    EXPECT_EQ(f.shutdownField().text(), "21:30:00") << "the ninth key is not typed";
    EXPECT_FALSE(f.shutdownField().Visible);
}

// An entry that is not a whole time is not applied: the field keeps the keyboard and the
// stored and armed power-off stay as they were.
TEST(ShutdownEntry, AnIncompleteOrInvalidEntryIsNotApplied) {
    struct Row {
        Build build;
        const char* keys;
        int enterAt;
        std::function<void(Form1&)> apply;
        const char* how;
    };
    const auto enterKey = [](Form1& f) { f.timeFieldKeyPress(f.shutdownFieldId(), keyEnter); };
    const auto faceDoubleClick = [](Form1& f) { f.Picture1_DblClick(); };
    const std::vector<Row> rows{
        {Build::Masked, "213", 4, enterKey, "Enter"},
        {Build::Masked, "21300", 7, enterKey, "Enter"},
        {Build::Masked, "213", 4, faceDoubleClick, "double-click on the face"},
        {Build::Plain, "123x", 4, enterKey, "Enter"},
        {Build::Plain, "123x", 4, faceDoubleClick, "double-click on the face"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(buildName(row.build)) + ", \"" + row.keys + "\", " + row.how);
        StartedClock clock(row.build);
        clock.platform.store("time", "22:15:00");
        clock.restart();
        Form1& f = clock.f();
        f.Label1_DblClick();
        f.Timer2_Timer();
        f.Timer2_Timer();
        clock.typeShutdown(row.keys);
        while (f.shutdownField().selStart() > row.enterAt) f.timeFieldEditKey(f.shutdownFieldId(), EditKey::Left);
        clock.platform.calls.clear();
        row.apply(f);
        EXPECT_TRUE(f.shutdownField().Visible);
        EXPECT_FALSE(f.Label1.Visible);
        EXPECT_EQ(f.focus(), f.shutdownFieldId());
        EXPECT_EQ(f.shutdownTime, *TimeOfDay::fromHms(22, 15, 0));
        EXPECT_EQ(clock.platform.stored("time"), "22:15:00");
        EXPECT_FALSE(f.Timer3.enabled());
    }
}

TEST(ShutdownEntry, TheWatchRestsWhileTheTimeIsEditedAndResumesWithTheNewTime) {
    Simulator sim(Build::Masked, at(2026, 12, 6, 21, 28, 50, 200), {{"time", "21:30:00"}});
    Form1& f = sim.form();
    f.Label1_MouseDown(buttonLeft, 0, 0, 0);
    f.Label1_DblClick();
    waitForField(sim, f.shutdownField());
    sim.clearRecord();
    type(sim, ControlId::MaskEdBox1, "2131");
    sim.runUntil(ms(21, 30, 5));
    EXPECT_EQ(sim.platform().powerOffCount, 0) << "the old time passed while it was being edited";
    EXPECT_TRUE(f.Timer1.enabled()) << "no countdown either";
    EXPECT_TRUE(sim.ticksOf(TimerId::Timer3).empty());
    type(sim, ControlId::MaskEdBox1, "00");
    press(sim, ControlId::MaskEdBox1, keyEnter);
    sim.clearRecord();
    sim.runUntil(ms(21, 30, 6, 100));
    EXPECT_EQ(sim.captionsAfter(TimerId::Timer3).back(), "54" + powerOffSuffix);
}

// Setting a reminder: a double-click on the face opens the reminder-time field, Enter
// applies it and slides the message open.
TEST(Reminder, EnterPathSlidesTheMessageOpenAndSelectsIt) {
    struct Row {
        Build build;
        const char* before;
        const char* after;
    };
    const std::vector<Row> rows{
        {Build::Masked, nullptr, "18:37:00"},  // the start-up text reads as a time
        {Build::Masked, "", ""},
        {Build::Masked, "Tea is ready", "Tea is ready"},
        {Build::Plain, nullptr, "18:37:00"},
        {Build::Plain, "", "18:37:00"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(buildName(row.build)) + ", message \"" + (row.before ? row.before : "(start-up)") +
                     "\"");
        Simulator sim(row.build);
        Form1& f = sim.form();
        if (row.before) f.Text1.Text = row.before;
        f.Picture1_Click();
        f.Picture1_DblClick();
        TimeField& field = f.reminderField();
        EXPECT_EQ(waitForField(sim, field), 1200);
        EXPECT_TRUE(f.Timer3.enabled()) << "only the shutdown field stops the watch";
        type(sim, field.id, "183700");
        EXPECT_EQ(f.reminderEntryStarted, 1);
        press(sim, field.id, keyEnter);

        EXPECT_EQ(f.reminderTime, *TimeOfDay::fromHms(18, 37, 0));
        EXPECT_EQ(f.Text1.Text, row.after);
        EXPECT_TRUE(f.Text1.Visible);
        EXPECT_EQ(f.Text1.Top, 580);
        EXPECT_EQ(f.Height, 870);
        EXPECT_EQ((870 - 650) / 10, 22);
        EXPECT_EQ(f.reminderEntryStarted, 0);
        EXPECT_FALSE(f.Timer2.enabled());
        EXPECT_TRUE(f.Timer3.enabled());
        EXPECT_TRUE(field.Visible) << "the reminder field stays";
        EXPECT_EQ(f.focus(), ControlId::Text1);
        EXPECT_EQ(f.Text1.SelStart, 0);
        EXPECT_EQ(f.Text1.SelLength, static_cast<int>(std::string_view(row.after).size()));
    }
}

TEST(Reminder, DoubleClickOnThePanelAppliesWithoutResetOrSecondSlide) {
    for (Build build : {Build::Masked, Build::Plain}) {
        SCOPED_TRACE(buildName(build));
        StartedClock clock(build);
        Form1& f = clock.f();
        f.Picture1_DblClick();
        f.Timer2_Timer();
        f.Timer2_Timer();
        clock.typeReminder("183700");
        clock.pressReminder(keyEnter);
        ASSERT_EQ(f.Height, 870);

        // A second time typed into the same field, applied by a double-click on the panel.
        f.focusArrived(f.reminderFieldId());
        clock.typeReminder("184500");
        EXPECT_EQ(f.reminderField().text(), "18:45:00") << "the first key cleared the field";
        f.Picture2_DblClick();
        EXPECT_EQ(f.reminderTime, *TimeOfDay::fromHms(18, 45, 0));
        EXPECT_EQ(f.Text1.Text, "18:45:00");
        EXPECT_EQ(f.reminderEntryStarted, 1) << "no reset on this path";
        EXPECT_EQ(f.Text1.Top, 580);
        EXPECT_EQ(f.Height, 870) << "no second slide";
        EXPECT_EQ(f.focus(), ControlId::Text1);

        // So the next edit of the field does not begin by clearing it.
        f.focusArrived(f.reminderFieldId());
        f.timeFieldEditKey(f.reminderFieldId(), EditKey::Home);
        clock.typeReminder("1");
        EXPECT_EQ(f.reminderField().text(), build == Build::Masked ? "18:45:00" : "118:45:00");
    }
}

TEST(Reminder, TheMessageTypedAfterTheTimeIsWhatTheAlertShows) {
    Simulator sim(Build::Masked, at(2026, 12, 6, 18, 36, 16, 500));
    Form1& f = sim.form();
    f.Picture1_DblClick();
    waitForField(sim, f.reminderField());
    type(sim, ControlId::MaskEdBox2, "183700");
    press(sim, ControlId::MaskEdBox2, keyEnter);
    f.Text1.Text = "Tea";
    std::int16_t enter = keyEnter;
    f.Text1_KeyPress(enter);
    EXPECT_EQ(f.Height, 300);
    EXPECT_FALSE(f.reminderField().Visible);

    sim.runUntil(ms(18, 37, 0, 100));
    EXPECT_EQ(f.reminderAlertOn, 1);
    sim.runFor(100);
    EXPECT_EQ(modeOf(f), Mode::BlinkingAlert);
    EXPECT_EQ(f.Label1.caption(), "Tea");
    ASSERT_TRUE(sim.runUntilTrue([&] { return f.Label1.Visible; }, sim.nowMs() + 2000));
    f.Label1_DblClick();
    EXPECT_EQ(modeOf(f), Mode::Normal);
    const std::size_t beeps = sim.platform().beeps.size();
    sim.runFor(3000);
    EXPECT_EQ(sim.platform().beeps.size(), beeps) << "the alert stopped at once";
    EXPECT_EQ(f.Label1.caption(), "18:37:04");
}

struct TimedRow {
    const char* name;
    std::function<void(Simulator&)> from;
    std::function<void(Simulator&)> event;
    Mode next;
    std::function<void(Simulator&)> check;
};

void shortReminderAt(Simulator& sim, int second) {
    sim.form().Text1.Text = "Tea";
    sim.form().reminderTime = *TimeOfDay::fromHms(18, 36, second);
}

// The transitions of the face that need the clock to run: the ticks themselves, and the
// gestures whose effect shows on the next tick.
TEST(DisplayModesOverTime, TransitionsThatTheTicksCarryOut) {
    const std::vector<TimedRow> rows{
        {"normal clock, the reminder time comes: a short text blinks",
         [](Simulator& sim) { shortReminderAt(sim, 20); },
         [](Simulator& sim) { sim.runUntil(ms(18, 36, 20, 200)); }, Mode::BlinkingAlert,
         [](Simulator& sim) { EXPECT_EQ(sim.form().Timer1.interval(), 500); }},
        {"normal clock, the reminder time comes: a long text scrolls",
         [](Simulator& sim) {
             shortReminderAt(sim, 20);
             sim.form().Text1.Text = "Leave for the station in ten minutes";
         },
         [](Simulator& sim) { sim.runUntil(ms(18, 36, 20, 200)); }, Mode::ScrollingAlert,
         [](Simulator& sim) { EXPECT_EQ(sim.form().Timer1.interval(), 50); }},
        {"scroll mode, the reminder time comes: the first alert tick ends scroll mode",
         [](Simulator& sim) {
             shortReminderAt(sim, 20);
             sim.form().Label3_MouseDown(buttonRight, 0, 0, 0);
         },
         [](Simulator& sim) { sim.runUntil(ms(18, 36, 20, 200)); }, Mode::BlinkingAlert,
         [](Simulator& sim) { EXPECT_EQ(sim.form().scrollOn, 0); }},
        {"normal clock, last minute before the power-off: the countdown",
         [](Simulator& sim) { sim.form().shutdownTime = *TimeOfDay::fromHms(18, 37, 10); },
         [](Simulator& sim) { sim.runUntil(ms(18, 36, 20, 200)); }, Mode::Countdown,
         [](Simulator& sim) { EXPECT_EQ(sim.form().Label1.caption(), "50" + powerOffSuffix); }},
        {"scroll mode, last minute before the power-off: the countdown, the text at rest",
         [](Simulator& sim) {
             sim.form().shutdownTime = *TimeOfDay::fromHms(18, 37, 10);
             sim.form().Label3_MouseDown(buttonRight, 0, 0, 0);
             sim.runFor(700);
         },
         [](Simulator& sim) { sim.runUntil(ms(18, 36, 20, 200)); }, Mode::Countdown,
         [](Simulator& sim) { EXPECT_EQ(sim.form().Label1.Left, 150); }},
        {"blinking alert runs its course: normal clock",
         [](Simulator& sim) {
             shortReminderAt(sim, 17);
             sim.runUntil(ms(18, 36, 17, 200));
         },
         [](Simulator& sim) { sim.runUntilTrue([&] { return sim.form().reminderAlertOn == 0; }, ms(18, 38, 0)); },
         Mode::Normal, [](Simulator& sim) { EXPECT_EQ(sim.form().ticksLeft, ticksAtRest); }},
        {"scrolling alert runs its course: normal clock",
         [](Simulator& sim) {
             shortReminderAt(sim, 17);
             sim.form().Text1.Text = "Leave for the station in ten minutes";
             sim.runUntil(ms(18, 36, 17, 200));
         },
         [](Simulator& sim) { sim.runUntilTrue([&] { return sim.form().reminderAlertOn == 0; }, ms(18, 40, 0)); },
         Mode::Normal, [](Simulator& sim) { EXPECT_EQ(sim.form().ticksLeft, ticksAtRest); }},
        {"normal clock, right press on the handle: the memo scrolls from the next tick",
         [](Simulator& sim) { sim.form().Text2.Text = "Buy milk"; },
         [](Simulator& sim) {
             Form1& f = sim.form();
             sim.platform().duringDrag = [&f] { EXPECT_EQ(f.scrollOn, 0) << "the toggle waits for the drag"; };
             f.Label3_MouseDown(buttonRight, 0, 0, 0);
             sim.runFor(1100);
         },
         Mode::Scroll,
         [](Simulator& sim) {
             EXPECT_EQ(sim.form().Timer1.interval(), 50);
             EXPECT_EQ(sim.form().Label1.caption(), "Buy milk");
             EXPECT_LT(sim.form().Label1.Left, 150);
         }},
        {"scroll mode, middle press on the handle: the clock from the next tick",
         [](Simulator& sim) {
             sim.form().Label3_MouseDown(buttonRight, 0, 0, 0);
             sim.runFor(700);
         },
         [](Simulator& sim) {
             sim.form().Label3_MouseDown(buttonMiddle, 0, 0, 0);
             sim.runFor(100);
         },
         Mode::Normal,
         [](Simulator& sim) {
             EXPECT_EQ(sim.form().Timer1.interval(), 1000);
             EXPECT_EQ(sim.form().Label1.Left, 150);
         }},
        {"scroll mode, double-click on the time: the other text scrolls from the rest place",
         [](Simulator& sim) {
             sim.form().Text2.Text = "Buy milk";
             sim.form().Label3_MouseDown(buttonRight, 0, 0, 0);
             sim.runFor(700);
         },
         [](Simulator& sim) {
             sim.form().Label1_MouseDown(buttonLeft, 0, 0, 0);
             sim.form().Label1_DblClick();
             sim.clearRecord();
             sim.runFor(1100);
         },
         Mode::Scroll,
         [](Simulator& sim) {
             auto ticks = sim.ticksOf(TimerId::Timer1);
             ASSERT_FALSE(ticks.empty());
             EXPECT_EQ(ticks.front().left, 130) << "the first step from the rest place";
             EXPECT_NE(ticks.front().caption, "Buy milk");
         }},
        {"alert, double-click on the handle: normal clock, the power-off forgotten",
         [](Simulator& sim) {
             shortReminderAt(sim, 17);
             sim.form().shutdownTime = *TimeOfDay::fromHms(23, 0, 0);
             sim.runUntil(ms(18, 36, 17, 200));
         },
         [](Simulator& sim) { sim.form().Label3_DblClick(); }, Mode::Normal,
         [](Simulator& sim) {
             EXPECT_TRUE(sim.form().shutdownTime.isMidnight());
             EXPECT_FALSE(sim.ended());
         }},
        {"countdown, double-click on the handle: cancelled",
         [](Simulator& sim) {
             sim.form().shutdownTime = *TimeOfDay::fromHms(18, 36, 40);
             sim.runUntil(ms(18, 36, 30));
         },
         [](Simulator& sim) {
             sim.form().Label3_DblClick();
             sim.runUntil(ms(18, 36, 45));
         },
         Mode::Normal, [](Simulator& sim) { EXPECT_EQ(sim.platform().powerOffCount, 0); }},
        {"countdown, double-click on the time: cancelled",
         [](Simulator& sim) {
             sim.form().shutdownTime = *TimeOfDay::fromHms(18, 36, 40);
             sim.runUntil(ms(18, 36, 30));
             sim.runUntilTrue([&] { return sim.form().Label1.Visible; }, ms(18, 36, 35));
         },
         [](Simulator& sim) {
             sim.form().Label1_DblClick();
             sim.runUntil(ms(18, 36, 45, 100));
         },
         Mode::Normal,
         [](Simulator& sim) {
             EXPECT_EQ(sim.platform().powerOffCount, 0);
             EXPECT_EQ(sim.form().Label1.caption(), "18:36:45");
         }},
        {"countdown, double-click on the face: cancelled",
         [](Simulator& sim) {
             sim.form().shutdownTime = *TimeOfDay::fromHms(18, 36, 40);
             sim.runUntil(ms(18, 36, 30));
         },
         [](Simulator& sim) {
             sim.form().Picture1_DblClick();
             sim.runUntil(ms(18, 36, 45));
         },
         Mode::Normal, [](Simulator& sim) { EXPECT_EQ(sim.platform().powerOffCount, 0); }},
        {"alert hidden, double-click on the face: the next tick is the normal clock",
         [](Simulator& sim) {
             shortReminderAt(sim, 17);
             sim.runUntil(ms(18, 36, 17, 200));
             sim.runUntilTrue([&] { return !sim.form().Label1.Visible; }, ms(18, 36, 20));
         },
         [](Simulator& sim) {
             sim.form().Picture1_DblClick();
             sim.runFor(1000);
         },
         Mode::Normal,
         [](Simulator& sim) {
             EXPECT_EQ(sim.form().Timer1.interval(), 1000);
             EXPECT_EQ(sim.form().Label1.alignment, Alignment::Left);
         }},
        {"shutdown-time entry, Enter: normal clock",
         [](Simulator& sim) {
             sim.form().Label1_DblClick();
             waitForField(sim, sim.form().shutdownField());
             type(sim, sim.form().shutdownFieldId(), "220000");
         },
         [](Simulator& sim) { press(sim, sim.form().shutdownFieldId(), keyEnter); }, Mode::Normal,
         [](Simulator& sim) { EXPECT_EQ(sim.form().shutdownTime, *TimeOfDay::fromHms(22, 0, 0)); }},
        {"shutdown-time entry, double-click on the face: applied",
         [](Simulator& sim) {
             sim.form().Label1_DblClick();
             waitForField(sim, sim.form().shutdownField());
             type(sim, sim.form().shutdownFieldId(), "220000");
         },
         [](Simulator& sim) { sim.form().Picture1_DblClick(); }, Mode::Normal,
         [](Simulator& sim) { EXPECT_EQ(sim.form().shutdownTime, *TimeOfDay::fromHms(22, 0, 0)); }},
    };
    for (Build build : {Build::Masked, Build::Plain}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(buildName(build)) + ": " + row.name);
            Simulator sim(build);
            row.from(sim);
            row.event(sim);
            EXPECT_EQ(modeOf(sim.form()), row.next);
            row.check(sim);
        }
    }
}

TEST(DisplayModesOverTime, NormalClockOrScrollModeDoubleClickOnTheHandleSavesAndEnds) {
    for (bool scrolling : {false, true}) {
        SCOPED_TRACE(scrolling ? "scroll mode" : "normal clock");
        Simulator sim(Build::Masked);
        sim.form().Text2.Text = "Buy milk";
        if (scrolling) sim.form().Label3_MouseDown(buttonRight, 0, 0, 0);
        sim.runFor(700);
        sim.form().Label3_DblClick();
        EXPECT_TRUE(sim.ended());
        EXPECT_EQ(sim.platform().stored("t9"), scrolling ? "1" : "0");
        EXPECT_EQ(sim.platform().stored("t"), scrolling ? "2" : "1");
    }
}

}  // namespace
}  // namespace horatta::testing
