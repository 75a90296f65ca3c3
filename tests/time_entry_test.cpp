#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/started_clock.h"

namespace horatta::testing {
namespace {

constexpr std::int16_t enter = keyEnter;
constexpr std::int16_t backspace = keyBackspace;
constexpr std::int16_t escape = 27;

enum class Field { Shutdown, Reminder };

const char* fieldName(Field field) { return field == Field::Shutdown ? "shutdown field" : "reminder field"; }

// What the key-press handler hands on to the field.
std::int16_t handled(Form1& f, Field field, std::int16_t key) {
    switch (f.build() == Build::Masked ? (field == Field::Shutdown ? 0 : 1) : (field == Field::Shutdown ? 2 : 3)) {
        case 0: f.maskedbox1_keyPress(key); break;
        case 1: f.MaskEdBox2_KeyPress(key); break;
        case 2: f.text3_keyPress(key); break;
        default: f.Text4_KeyPress(key); break;
    }
    return key;
}

TimeField& fieldOf(Form1& f, Field field) { return field == Field::Shutdown ? f.shutdownField() : f.reminderField(); }

// An entry already under way, with the caret at the index. The plain field holds what a
// user would have typed up to there; the masked one is full.
void caretAt(Form1& f, Field field, int index) {
    TimeField& box = fieldOf(f, field);
    if (f.build() == Build::Masked) box.setText("12:34:56");
    else box.setText(std::string("12:34:567").substr(0, static_cast<std::size_t>(index)));
    box.setSelStart(index);
    ASSERT_EQ(box.selStart(), index);
    f.shutdownEntryStarted = 1;
    f.reminderEntryStarted = 1;
}

struct RuleRow {
    int index;
    std::int16_t hourTensIsTwo;
    std::int16_t key;
    bool passes;
};

std::string keyName(std::int16_t key) {
    if (key == enter) return "Enter";
    if (key == backspace) return "Backspace";
    if (key == escape) return "Escape";
    return std::string("'") + static_cast<char>(key) + "'";
}

// The rules that hold at the same caret indexes in both builds and both fields.
TEST(TimeEntryRules, SharedRulesByCaretIndex) {
    const std::vector<RuleRow> rows{
        {0, 0, '0', true},   {0, 0, '1', true},    {0, 0, '2', true},       {0, 0, '3', false},
        {0, 0, '7', false},  {0, 0, 'a', false},   {0, 0, enter, false},    {0, 0, backspace, false},
        {0, 0, escape, false},
        {1, 1, '0', true},   {1, 1, '3', true},    {1, 1, '4', false},      {1, 1, '9', false},
        {1, 0, '9', true},   {1, 0, '/', false},   {1, 0, enter, false},    {1, 0, backspace, false},
        {1, 0, 'x', true},   {1, 1, 'x', false},   // only the lower bound, unless the hour began with 2
        {3, 0, '0', true},   {3, 0, '5', true},    {3, 0, '6', false},      {3, 0, '9', false},
        {3, 0, enter, false}, {3, 0, backspace, false},
        {4, 0, '9', true},   {4, 0, enter, true},  {4, 0, backspace, true}, {4, 0, 'x', true},
        {6, 0, '0', true},   {6, 0, '5', true},    {6, 0, '6', false},      {6, 0, enter, false},
        {6, 0, backspace, false},
        {7, 0, '9', true},   {7, 0, enter, true},  {7, 0, backspace, true},
    };
    for (Build build : {Build::Masked, Build::Plain}) {
        for (Field field : {Field::Shutdown, Field::Reminder}) {
            for (const auto& row : rows) {
                SCOPED_TRACE(std::string(buildName(build)) + ", " + fieldName(field) + ", index " +
                             std::to_string(row.index) + ", key " + keyName(row.key));
                StartedClock clock(build);
                Form1& f = clock.f();
                caretAt(f, field, row.index);
                f.hourTensIsTwo = row.hourTensIsTwo;
                EXPECT_EQ(handled(f, field, row.key), row.passes ? row.key : keyRefused);
            }
        }
    }
}

TEST(TimeEntryRules, TheFirstHourDigitDecidesWhetherTheSecondIsLimited) {
    for (Build build : {Build::Masked, Build::Plain}) {
        for (auto [key, tensIsTwo] : std::vector<std::pair<std::int16_t, std::int16_t>>{
                 {'2', 1}, {'1', 0}, {'0', 0}, {'7', 0}, {enter, 0}}) {
            StartedClock clock(build);
            Form1& f = clock.f();
            caretAt(f, Field::Shutdown, 0);
            f.hourTensIsTwo = 1 - tensIsTwo;
            handled(f, Field::Shutdown, key);
            EXPECT_EQ(f.hourTensIsTwo, tensIsTwo) << buildName(build) << " key " << keyName(key);
        }
    }
}

// horatta-t has no mask: its filter puts in the colons itself, whatever the key.
TEST(TimeEntryRules, PlainFieldAddsTheColonsAtIndexesTwoAndFive) {
    const std::vector<RuleRow> rows{
        {2, 0, '0', true}, {2, 0, '5', true}, {2, 0, '6', false}, {2, 0, '7', false},
        {2, 0, enter, false}, {2, 0, backspace, false},
        {5, 0, '0', true}, {5, 0, '4', true}, {5, 0, '6', false}, {5, 0, enter, false},
        {5, 0, backspace, false},
    };
    for (Field field : {Field::Shutdown, Field::Reminder}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(fieldName(field)) + ", index " + std::to_string(row.index) + ", key " +
                         keyName(row.key));
            StartedClock clock(Build::Plain);
            Form1& f = clock.f();
            caretAt(f, field, row.index);
            const std::string before = fieldOf(f, field).text();
            EXPECT_EQ(handled(f, field, row.key), row.passes ? row.key : keyRefused);
            EXPECT_EQ(fieldOf(f, field).text(), before + ":");
            EXPECT_EQ(fieldOf(f, field).selStart(), row.index + 1);
        }
    }
}

TEST(TimeEntryRules, KeyAtTheEndOfTheField) {
    struct Row {
        Build build;
        Field field;
        std::int16_t key;
        std::int16_t handedOn;
        bool applied;
    };
    const std::vector<Row> rows{
        // The mask is full: the key changes nothing, but the next focus applies the entry.
        {Build::Masked, Field::Shutdown, '5', '5', false},
        {Build::Masked, Field::Shutdown, enter, enter, true},
        {Build::Masked, Field::Reminder, '5', '5', false},
        {Build::Masked, Field::Reminder, enter, enter, true},
        // Without a mask the field would grow: the key becomes Enter and applies at once.
        {Build::Plain, Field::Shutdown, '5', enter, true},
        {Build::Plain, Field::Shutdown, 'q', enter, true},
        {Build::Plain, Field::Reminder, '5', enter, true},
    };
    const TimeOfDay typed = *TimeOfDay::fromHms(12, 34, 56);
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(buildName(row.build)) + ", " + fieldName(row.field) + ", key " + keyName(row.key));
        StartedClock clock(row.build);
        Form1& f = clock.f();
        fieldOf(f, row.field).Visible = true;
        caretAt(f, row.field, 8);
        EXPECT_EQ(handled(f, row.field, row.key), row.handedOn);
        if (row.field == Field::Shutdown) {
            EXPECT_EQ(f.shutdownTime == typed, row.applied);
            EXPECT_EQ(f.shutdownField().Visible, !row.applied);
            // Applying resets the flag; otherwise it waits for the next focus.
            EXPECT_EQ(f.shutdownEntryDone, row.applied ? 0 : 1);
        } else {
            EXPECT_EQ(f.reminderTime == typed, row.applied);
            EXPECT_EQ(f.shutdownEntryDone, 0);
        }
    }
}

TEST(TimeEntryRules, PlainFieldHasNoRulePastTheEnd) {
    StartedClock clock(Build::Plain);
    Form1& f = clock.f();
    f.shutdownField().setText("12:34:567");
    f.shutdownField().setSelStart(9);
    f.shutdownEntryStarted = 1;
    EXPECT_EQ(handled(f, Field::Shutdown, '7'), '7');
    EXPECT_EQ(f.shutdownEntryDone, 0);
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
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(buildName(row.build)) + " typing \"" + row.keys + "\"");
        StartedClock clock(row.build);
        Form1& f = clock.f();
        f.Label1_DblClick();
        clock.typeShutdown(row.keys);
        EXPECT_EQ(f.shutdownField().text(), row.text);
        EXPECT_EQ(f.shutdownField().selStart(), row.caret);
        EXPECT_EQ(f.shutdownEntryStarted, 1);
        EXPECT_TRUE(f.shutdownField().Visible) << "nothing applied";
    }
}

TEST(TimeEntryTyping, TheFirstKeyStopsTheBlinkClearsTheFieldAndShowsTheCaretOnce) {
    for (Build build : {Build::Masked, Build::Plain}) {
        SCOPED_TRACE(buildName(build));
        StartedClock clock(build);
        Form1& f = clock.f();
        f.shutdownField().setText("21:30:00");
        f.Label1_DblClick();
        ASSERT_TRUE(f.Timer2.enabled());
        clock.typeShutdown("1");
        EXPECT_FALSE(f.Timer2.enabled());
        EXPECT_EQ(f.shutdownField().text(), build == Build::Masked ? "1 :  :  " : "1");
        clock.typeShutdown("23");
        const std::string caret = std::string("showCaret ") + controlName(f.shutdownFieldId());
        EXPECT_EQ(clock.platform.callsStartingWith("showCaret"), std::vector<std::string>{caret});
    }
}

TEST(TimeEntryTyping, EnterAsTheFirstKeyKeepsTheOldText) {
    for (Build build : {Build::Masked, Build::Plain}) {
        for (Field field : {Field::Shutdown, Field::Reminder}) {
            SCOPED_TRACE(std::string(buildName(build)) + ", " + fieldName(field));
            StartedClock clock(build);
            Form1& f = clock.f();
            fieldOf(f, field).setText("21:30:00");  // caret at 0: Enter is refused there
            if (field == Field::Shutdown) clock.pressShutdown(enter);
            else clock.pressReminder(enter);
            EXPECT_EQ(fieldOf(f, field).text(), "21:30:00");
            EXPECT_EQ(f.shutdownEntryStarted, 0);
            EXPECT_EQ(f.reminderEntryStarted, 0);
            EXPECT_TRUE(clock.platform.callsStartingWith("showCaret").empty());
        }
    }
}

TEST(TimeEntryTyping, EachFieldHasItsOwnStartedFlag) {
    StartedClock clock;
    Form1& f = clock.f();
    clock.typeReminder("1");
    EXPECT_EQ(f.reminderEntryStarted, 1);
    EXPECT_EQ(f.shutdownEntryStarted, 0);
    f.shutdownField().setText("21:30:00");
    clock.typeShutdown("0");
    EXPECT_EQ(f.shutdownField().text(), "0 :  :  ") << "the shutdown field still clears on its first key";
}

TEST(TimeEntryFocus, ShutdownFieldStopsTheWatchAndHidesTheCaret) {
    for (Build build : {Build::Masked, Build::Plain}) {
        SCOPED_TRACE(buildName(build));
        StartedClock clock(build);
        Form1& f = clock.f();
        f.SetFocus(f.shutdownFieldId());
        EXPECT_FALSE(f.Timer3.enabled());
        const std::string field = controlName(f.shutdownFieldId());
        EXPECT_EQ(clock.platform.callsStartingWith("hideCaret"), std::vector<std::string>{"hideCaret " + field});
        EXPECT_EQ(clock.platform.callsStartingWith("setFocus"), std::vector<std::string>{"setFocus " + field});
    }
}

TEST(TimeEntryFocus, ReminderFieldOnlyHidesTheCaret) {
    for (Build build : {Build::Masked, Build::Plain}) {
        SCOPED_TRACE(buildName(build));
        StartedClock clock(build);
        Form1& f = clock.f();
        f.focusArrived(f.reminderFieldId());
        EXPECT_TRUE(f.Timer3.enabled());
        EXPECT_EQ(clock.platform.callsStartingWith("hideCaret"),
                  std::vector<std::string>{std::string("hideCaret ") + controlName(f.reminderFieldId())});
    }
}

TEST(TimeEntryBlink, BlinksTheOpenFieldAndHandsItTheKeyboardEachTimeItComesBack) {
    for (Build build : {Build::Masked, Build::Plain}) {
        SCOPED_TRACE(buildName(build));
        StartedClock clock(build);
        Form1& f = clock.f();
        f.Label1_DblClick();
        TimeField& field = f.shutdownField();
        const std::string hide = std::string("hideCaret ") + controlName(field.id);

        f.Timer2_Timer();
        EXPECT_FALSE(field.Visible);
        f.Timer2_Timer();
        EXPECT_TRUE(field.Visible);
        EXPECT_EQ(f.focus(), field.id);
        EXPECT_FALSE(f.Timer3.enabled());
        f.Timer3.setEnabled(true);

        f.Timer2_Timer();
        EXPECT_FALSE(field.Visible);
        EXPECT_EQ(f.focus(), ControlId::Picture1) << "a hidden field cannot keep the keyboard";
        f.Timer2_Timer();
        EXPECT_EQ(f.focus(), field.id);
        EXPECT_FALSE(f.Timer3.enabled()) << "coming back runs the focus handler again";
        EXPECT_EQ(clock.platform.callsStartingWith(hide).size(), 2u);
    }
}

TEST(TimeEntryBlink, TakesTheKeyboardBackFromAClickElsewhere) {
    StartedClock clock;
    Form1& f = clock.f();
    f.Label1_DblClick();
    f.Timer2_Timer();
    f.Timer2_Timer();
    f.Timer2_Timer();  // hidden
    f.focusArrived(ControlId::Picture1);
    f.Timer2_Timer();
    EXPECT_EQ(f.focus(), ControlId::MaskEdBox1);
}

TEST(TimeEntryBlink, FollowsTheFieldNamedByBlinkingEntry) {
    for (std::int16_t which : {0, 1, 2, -1}) {
        StartedClock clock;
        Form1& f = clock.f();
        f.blinkingEntry = which;
        f.Timer2.setEnabled(true);
        f.Timer2_Timer();
        EXPECT_EQ(f.shutdownField().Visible, which == 0) << which;
        EXPECT_EQ(f.reminderField().Visible, which == 1) << which;
        EXPECT_EQ(f.focus(), which == 0   ? std::optional(ControlId::MaskEdBox1)
                             : which == 1 ? std::optional(ControlId::MaskEdBox2)
                                          : std::optional(ControlId::Picture1))
            << which;
        EXPECT_EQ(f.Timer3.enabled(), which != 0) << which;
    }
}

}  // namespace
}  // namespace horatta::testing
