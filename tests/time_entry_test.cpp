#include <gtest/gtest.h>

#include <string>

#include "support/simulator.h"
#include "support/started_clock.h"

namespace horatta::testing {
namespace {

enum class Field { Shutdown, Reminder };

const char* fieldName(Field field) { return field == Field::Shutdown ? "shutdown field" : "reminder field"; }

TimeField& fieldOf(Form1& f, Field field) { return field == Field::Shutdown ? f.shutdownField() : f.reminderField(); }

// What the key-press handler hands on to the field.
std::int16_t handled(Form1& f, Field field, std::int16_t key) {
    const bool masked = f.build() == Build::Masked;
    if (field == Field::Shutdown) masked ? f.maskedbox1_keyPress(key) : f.text3_keyPress(key);
    else masked ? f.MaskEdBox2_KeyPress(key) : f.Text4_KeyPress(key);
    return key;
}

// Opens the field by its gesture and lets the blink hand it the keyboard.
void open(StartedClock& clock, Field field) {
    Form1& f = clock.f();
    if (field == Field::Shutdown) f.Label1_DblClick();
    else f.Picture1_DblClick();
    f.Timer2_Timer();
    f.Timer2_Timer();
}

// The rule at each caret index, for both builds and both fields: the keys handed on and the
// keys refused. The plain field has no mask, so at 2 and 5 its rule adds the colon itself,
// whatever the key. The first hour digit decides whether the second is limited.
TEST(TimeEntryRules, KeysHandedOnAndRefusedByCaretIndex) {
    struct Row {
        int index;
        std::int16_t hourTensIsTwo;
        std::string handedOn, refused;
        bool plainOnly = false;
    };
    const std::vector<Row> rows{
        {0, 1, "012", "37a/\r\b\x1b"},
        {1, 1, "0123", "49x\r\b"},
        {1, 0, "09x", "/\r\b"},  // only the lower bound, unless the hour began with 2
        {3, 0, "05", "69\r\b"},
        {4, 0, "9x\r\b", ""},
        {6, 0, "05", "69\r\b"},
        {7, 0, "9\r\b", ""},
        {2, 0, "05", "67\r\b", true},
        {5, 0, "04", "6\r\b", true},
    };
    for (Build build : {Build::Masked, Build::Plain}) {
        for (Field field : {Field::Shutdown, Field::Reminder}) {
            for (const auto& row : rows) {
                if (row.plainOnly && build == Build::Masked) continue;
                for (char c : row.handedOn + row.refused) {
                    const auto key = static_cast<std::int16_t>(c);
                    SCOPED_TRACE(std::string(buildName(build)) + ", " + fieldName(field) + ", index " +
                                 std::to_string(row.index) + ", key " + std::to_string(key));
                    StartedClock clock(build);
                    Form1& f = clock.f();
                    TimeField& box = fieldOf(f, field);
                    // An entry under way: the plain field holds what was typed up to the caret.
                    box.setText(build == Build::Masked ? "12:34:56" : std::string("12:34:5").substr(0, row.index));
                    box.setSelStart(row.index);
                    f.shutdownEntryStarted = f.reminderEntryStarted = 1;
                    f.hourTensIsTwo = row.hourTensIsTwo;
                    const std::string before = box.text();
                    const bool passes = row.handedOn.find(c) != std::string::npos;
                    EXPECT_EQ(handled(f, field, key), passes ? key : keyRefused);
                    if (row.plainOnly) {
                        EXPECT_EQ(box.text(), before + ":");
                        EXPECT_EQ(box.selStart(), row.index + 1);
                    }
                    if (row.index == 0) {
                        EXPECT_EQ(f.hourTensIsTwo, key == '2' ? 1 : 0);
                    }
                }
            }
        }
    }
}

// Whole entries typed as a user types them, through the core's own field editing.
TEST(TimeEntryTyping, WhatTheFieldHoldsAfterTyping) {
    struct Row {
        Build build;
        const char* keys;
        const char* text;
        int caret;
    };
    const std::vector<Row> rows{
        {Build::Masked, "235959", "23:59:59", 8},
        {Build::Plain, "235959", "23:59:59", 8},
        {Build::Plain, "123045", "12:30:45", 8},
        {Build::Masked, "24", "2 :  :  ", 1},   // 4 after 2 is no hour
        {Build::Plain, "24", "2", 1},
        {Build::Masked, "19", "19:  :  ", 3},
        {Build::Plain, "19", "19", 2},
        {Build::Masked, "7", "  :  :  ", 0},    // a refused first key still clears the field
        {Build::Plain, "7", "", 0},
        {Build::Masked, "126", "12:  :  ", 3},  // 6 is no tens of minutes
        {Build::Plain, "126", "12:", 3},
        {Build::Masked, "12306", "12:30:  ", 6}, // nor of seconds
        {Build::Plain, "12306", "12:30:", 6},
        {Build::Plain, "127", "12:", 3},         // the colon comes, the 7 does not
        {Build::Masked, "123\b", "12:  :  ", 3}, // Backspace reaches the field where no rule refuses it
        {Build::Plain, "123\b", "12:", 3},
        {Build::Masked, "\x1b", "  :  :  ", 0},  // Escape clears like any first key, then is refused
        {Build::Plain, "\x1b", "", 0},
        {Build::Masked, "\r", "00:00:00", 0},    // Enter first keeps the old text and applies nothing
        {Build::Plain, "\r", "00:00:00", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(buildName(row.build)) + " typing \"" + row.keys + "\"");
        StartedClock clock(row.build);
        Form1& f = clock.f();
        f.Label1_DblClick();
        clock.typeShutdown(row.keys);
        EXPECT_EQ(f.shutdownField().text(), row.text);
        EXPECT_EQ(f.shutdownField().selStart(), row.caret);
        EXPECT_EQ(f.shutdownEntryStarted, row.keys[0] == '\r' ? 0 : 1);
        EXPECT_TRUE(f.shutdownField().Visible) << "nothing applied";
    }
}

// Enter applies a whole entry only where the rules let it through.
TEST(ShutdownEntry, EnterAppliesAtSomeCaretIndexesOnly) {
    for (Build build : {Build::Masked, Build::Plain}) {
        for (int index = 0; index <= 8; ++index) {
            if (build == Build::Masked && (index == 2 || index == 5)) continue;  // the caret skips the colons
            const bool applies = index == 4 || index >= 7;
            SCOPED_TRACE(std::string(buildName(build)) + ", Enter at index " + std::to_string(index));
            StartedClock clock(build);
            Form1& f = clock.f();
            open(clock, Field::Shutdown);
            clock.typeShutdown("213000");
            const ControlId id = f.shutdownFieldId();
            f.timeFieldEditKey(id, EditKey::Home);
            for (int i = 0; i < 8 && f.shutdownField().selStart() < index; ++i) f.timeFieldEditKey(id, EditKey::Right);
            ASSERT_EQ(f.shutdownField().selStart(), index);
            clock.pressShutdown(keyEnter);
            EXPECT_EQ(f.shutdownTime == *TimeOfDay::fromHms(21, 30, 0), applies);
            EXPECT_EQ(f.shutdownField().Visible, !applies);
            EXPECT_EQ(clock.platform.stored("TIME"), applies ? "9:30:00 PM" : "00:00:00");
        }
    }
}

// The key after the last digit: horatta-t applies at once, since its field has no end;
// horatta marks a full shutdown entry as done and applies it when the field next takes the
// keyboard, or on a double-click on the face. The reminder field has no such mark.
TEST(ShutdownEntry, TheKeyAfterTheLastDigit) {
    for (Build build : {Build::Masked, Build::Plain}) {
        for (bool byFocus : {true, false}) {
            SCOPED_TRACE(std::string(buildName(build)) + (byFocus ? ", focus" : ", double-click on the face"));
            StartedClock clock(build);
            Form1& f = clock.f();
            open(clock, Field::Shutdown);
            clock.typeShutdown("2130009");
            EXPECT_EQ(f.shutdownField().text(), "21:30:00") << "the key is not typed";
            if (build == Build::Masked) {
                EXPECT_EQ(f.shutdownEntryDone, 1);
                EXPECT_TRUE(f.shutdownTime.isMidnight()) << "not yet applied";
                if (byFocus) {
                    f.focusArrived(ControlId::Picture1);
                    f.focusArrived(ControlId::MaskEdBox1);
                } else {
                    f.Picture1_DblClick();
                }
            }
            EXPECT_EQ(f.shutdownTime, *TimeOfDay::fromHms(21, 30, 0));
            EXPECT_FALSE(f.shutdownField().Visible);
            EXPECT_EQ(f.shutdownEntryDone, 0);
        }
        StartedClock clock(build);
        open(clock, Field::Reminder);
        clock.typeReminder("1837009");
        EXPECT_EQ(clock.f().reminderTime == *TimeOfDay::fromHms(18, 37, 0), build == Build::Plain);
        EXPECT_EQ(clock.f().shutdownEntryDone, 0);
    }
}

// An entry that is not a whole time is applied neither by Enter nor by a double-click: the
// field stays, the shutdown field takes the keyboard back, and the armed and stored times
// stay as they were.
TEST(TimeEntry, AnIncompleteOrInvalidEntryIsNotApplied) {
    struct Row {
        Build build;
        Field field;
        const char* keys;
        int enterAt;
    };
    const std::vector<Row> rows{
        {Build::Masked, Field::Shutdown, "213", 4},   {Build::Masked, Field::Shutdown, "21300", 7},
        {Build::Plain, Field::Shutdown, "123x", 4},   {Build::Masked, Field::Reminder, "183", 4},
        {Build::Masked, Field::Reminder, "18300", 7}, {Build::Plain, Field::Reminder, "183x", 4},
    };
    for (const auto& row : rows) {
        for (bool byEnter : {true, false}) {
            SCOPED_TRACE(std::string(buildName(row.build)) + ", " + fieldName(row.field) + ", \"" + row.keys +
                         (byEnter ? "\", Enter" : "\", double-click"));
            StartedClock clock(row.build);
            clock.platform.store("time", "22:15:00");
            clock.restart();
            Form1& f = clock.f();
            open(clock, row.field);
            TimeField& box = fieldOf(f, row.field);
            clock.type(box.id, row.keys);
            while (box.selStart() > row.enterAt) f.timeFieldEditKey(box.id, EditKey::Left);
            clock.platform.memory.writtenNames.clear();
            if (byEnter) {
                f.timeFieldKeyPress(box.id, keyEnter);
            } else {
                f.focusArrived(ControlId::Picture1);  // the click on the face takes the keyboard
                row.field == Field::Shutdown ? f.Picture1_DblClick() : f.Picture2_DblClick();
            }
            EXPECT_TRUE(box.Visible);
            EXPECT_TRUE(clock.platform.memory.writtenNames.empty());
            EXPECT_EQ(f.shutdownTime, *TimeOfDay::fromHms(22, 15, 0));
            EXPECT_TRUE(f.reminderTime.isMidnight());
            if (row.field == Field::Shutdown) {
                EXPECT_EQ(f.focus(), box.id);
                EXPECT_FALSE(f.Label1.Visible);
                EXPECT_FALSE(f.Timer3.enabled());
            } else {
                EXPECT_FALSE(f.Text1.Visible);
                EXPECT_EQ(f.reminderEntryStarted, 1);
            }
        }
    }
}

// The open field blinks; each time it comes back it takes the keyboard, which hides the
// caret and, for the shutdown field only, stops the watch tick.
TEST(TimeEntryBlink, TheFieldTakesTheKeyboardEachTimeItComesBack) {
    for (Build build : {Build::Masked, Build::Plain}) {
        for (Field field : {Field::Shutdown, Field::Reminder}) {
            SCOPED_TRACE(std::string(buildName(build)) + ", " + fieldName(field));
            StartedClock clock(build);
            Form1& f = clock.f();
            open(clock, field);
            TimeField& box = fieldOf(f, field);
            const bool watchRuns = field == Field::Reminder;
            EXPECT_TRUE(box.Visible);
            EXPECT_EQ(f.focus(), box.id);
            EXPECT_EQ(f.Timer3.enabled(), watchRuns);
            f.Timer3.setEnabled(true);
            f.Timer2_Timer();
            EXPECT_FALSE(box.Visible);
            EXPECT_EQ(f.focus(), ControlId::Picture1) << "a hidden field cannot keep the keyboard";
            f.Timer2_Timer();
            EXPECT_EQ(f.focus(), box.id);
            EXPECT_EQ(f.Timer3.enabled(), watchRuns) << "coming back runs the focus handler again";
            const std::string hide = std::string("hideCaret ") + controlName(box.id);
            EXPECT_EQ(clock.platform.callsStartingWith("hideCaret"), std::vector<std::string>(2, hide));
        }
    }
}

// While the power-off time is edited no countdown or power-off runs on the old time; the
// new one is watched from Enter on.
TEST(ShutdownEntry, TheWatchRestsWhileTheTimeIsEditedAndResumesWithTheNewTime) {
    Simulator sim(Build::Masked, at(2026, 12, 6, 21, 28, 50, 200), {{"time", "21:30:00"}});
    Form1& f = sim.form();
    f.Label1_MouseDown(buttonLeft, 0, 0, 0);
    f.Label1_DblClick();
    ASSERT_TRUE(sim.runUntilTrue([&] { return f.focus() == ControlId::MaskEdBox1; }, sim.nowMs() + 5000));
    sim.clearRecord();
    for (char c : std::string("2131")) f.timeFieldKeyPress(ControlId::MaskEdBox1, c);
    sim.runUntil(at(2026, 12, 6, 21, 30, 5));
    EXPECT_EQ(sim.platform().powerOffCount, 0) << "the old time passed while it was being edited";
    EXPECT_TRUE(f.Timer1.enabled()) << "no countdown either";
    EXPECT_TRUE(sim.ticksOf(TimerId::Timer3).empty());
    for (char c : std::string("00\r")) f.timeFieldKeyPress(ControlId::MaskEdBox1, c);
    sim.clearRecord();
    sim.runUntil(at(2026, 12, 6, 21, 30, 6, 100));
    EXPECT_EQ(sim.captionsAfter(TimerId::Timer3).back(), "54 关机");
}

// A second entry typed at once, before the blink has handed the field the keyboard, still
// stops the watch: the time applied before does not power off while the new one is typed.
TEST(ShutdownEntry, ASecondEntryTypedAtOnceHoldsTheWatch) {
    for (Build build : {Build::Masked, Build::Plain}) {
        SCOPED_TRACE(buildName(build));
        Simulator sim(build, at(2026, 12, 6, 21, 28, 0, 200));
        Form1& f = sim.form();
        f.Label1_DblClick();
        ASSERT_TRUE(sim.runUntilTrue([&] { return f.focus() == f.shutdownFieldId(); }, sim.nowMs() + 5000));
        for (char c : std::string("213000\r")) f.timeFieldKeyPress(f.shutdownFieldId(), c);
        ASSERT_EQ(f.shutdownTime, *TimeOfDay::fromHms(21, 30, 0));
        EXPECT_NE(f.focus(), f.shutdownFieldId()) << "the hidden field gave up the keyboard";

        f.Label1_DblClick();
        f.timeFieldKeyPress(f.shutdownFieldId(), '2');
        EXPECT_EQ(f.focus(), f.shutdownFieldId());
        sim.runUntil(at(2026, 12, 6, 21, 30, 5));
        EXPECT_EQ(sim.platform().powerOffCount, 0);
        EXPECT_FALSE(f.Timer3.enabled());
        EXPECT_EQ(f.faceMode(), FaceMode::Clock) << "no countdown either";
    }
}

}  // namespace
}  // namespace horatta::testing
