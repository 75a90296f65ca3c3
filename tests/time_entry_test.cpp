#include <gtest/gtest.h>

#include <string>

#include "support/simulator.h"
#include "window/time_field.h"
#include <variant>

namespace horatta::testing {
namespace {

enum class Field { Shutdown, Reminder };

const char* fieldName(Field field) { return field == Field::Shutdown ? "shutdown field" : "reminder field"; }

TimeField& fieldOf(Form1& f, Field field) { return field == Field::Shutdown ? f.shutdownField() : f.reminderField(); }

// Opens the field by its gesture and lets the blink hand it the keyboard.
void open(Simulator& clock, Field field) {
    Form1& f = clock.form();
    if (field == Field::Shutdown) f.Label1_DblClick();
    else f.Picture1_DblClick();
    f.Timer2_Timer();
    f.Timer2_Timer();
}

// Whole entries typed as a user types them into either field, through the core's own field
// editing. The first hour digit decides whether the second is limited; the plain field has no
// mask, so after the hour and the minutes its rule adds the colon itself, whatever the key.
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
        {Build::Masked, "09", "09:  :  ", 3},
        {Build::Masked, "7", "  :  :  ", 0},    // a refused first key still clears the field
        {Build::Masked, "/", "  :  :  ", 0},
        {Build::Masked, "12/", "12:  :  ", 3},
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
        for (Field field : {Field::Shutdown, Field::Reminder}) {
            if (field == Field::Reminder && row.keys[0] == '\r') continue;  // Enter there has rows of its own
            SCOPED_TRACE(std::string(buildName(row.build)) + ", " + fieldName(field) + " typing \"" + row.keys + "\"");
            Simulator clock(row.build);
            Form1& f = clock.form();
            open(clock, field);
            const bool shutdown = field == Field::Shutdown;
            clock.type(shutdown ? f.shutdownFieldId() : f.reminderFieldId(), row.keys);
            EXPECT_EQ(fieldOf(f, field).text(), row.text);
            EXPECT_EQ(fieldOf(f, field).selStart(), row.caret);
            EXPECT_EQ(shutdown ? f.shutdownEntryStarted : f.reminderEntryStarted, row.keys[0] == '\r' ? 0 : 1);
            EXPECT_TRUE(fieldOf(f, field).Visible) << "nothing applied";
        }
    }
}

// Enter applies a whole entry only where the rules let it through.
TEST(ShutdownEntry, EnterAppliesAtSomeCaretIndexesOnly) {
    for (Build build : {Build::Masked, Build::Plain}) {
        for (int index = 0; index <= 8; ++index) {
            if (build == Build::Masked && (index == 2 || index == 5)) continue;  // the caret skips the colons
            const bool applies = index == 4 || index >= 7;
            SCOPED_TRACE(std::string(buildName(build)) + ", Enter at index " + std::to_string(index));
            Simulator clock(build);
            Form1& f = clock.form();
            open(clock, Field::Shutdown);
            clock.type(f.shutdownFieldId(), "213000");
            const ControlId id = f.shutdownFieldId();
            f.timeFieldEditKey(id, EditKey::Home);
            for (int i = 0; i < 8 && f.shutdownField().selStart() < index; ++i) f.timeFieldEditKey(id, EditKey::Right);
            ASSERT_EQ(f.shutdownField().selStart(), index);
            clock.type(f.shutdownFieldId(), "\r");
            EXPECT_EQ(f.shutdownTime == *TimeOfDay::fromHms(21, 30, 0), applies);
            EXPECT_EQ(f.shutdownField().Visible, !applies);
            EXPECT_EQ(clock.platform().stored("TIME"), applies ? "9:30:00 PM" : "00:00:00");
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
            Simulator clock(build);
            Form1& f = clock.form();
            open(clock, Field::Shutdown);
            clock.type(f.shutdownFieldId(), "2130009");
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
        Simulator clock(build);
        open(clock, Field::Reminder);
        clock.type(clock.form().reminderFieldId(), "1837009");
        EXPECT_EQ(clock.form().reminderTime == *TimeOfDay::fromHms(18, 37, 0), build == Build::Plain);
        EXPECT_EQ(clock.form().shutdownEntryDone, 0);
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
            Simulator clock(row.build, at(2026, 12, 6, 18, 36, 16, 500), {{"time", "22:15:00"}});
            Form1& f = clock.form();
            open(clock, row.field);
            TimeField& box = fieldOf(f, row.field);
            clock.type(box.id, row.keys);
            while (box.selStart() > row.enterAt) f.timeFieldEditKey(box.id, EditKey::Left);
            clock.platform().memory.writtenNames.clear();
            if (byEnter) {
                f.timeFieldKeyPress(box.id, keyEnter);
            } else {
                f.focusArrived(ControlId::Picture1);  // the click on the face takes the keyboard
                row.field == Field::Shutdown ? f.Picture1_DblClick() : f.Picture2_DblClick();
            }
            EXPECT_TRUE(box.Visible);
            EXPECT_TRUE(clock.platform().memory.writtenNames.empty());
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

// The fields' own editing: each step is a key, then the text and caret expected.
struct Step {
    std::variant<std::int16_t, EditKey> key;
    const char* text;
    int caret;
};
constexpr std::int16_t ch(char c) { return static_cast<std::int16_t>(c); }

TEST(TimeField, TypingAndEditingKeysInBothFields) {
    MaskedTimeField masked;
    PlainTimeField plain;
    masked.setText("00:00:00");
    masked.setText("21-30-00");
    EXPECT_EQ(masked.text(), "00:00:00") << "only texts that fit the mask are taken";
    plain.setText("12:45");
    const std::vector<std::pair<TimeField*, std::vector<Step>>> journeys{
        {&masked, {{EditKey::End, "00:00:00", 8}, {ch('1'), "00:00:00", 8}, {keyBackspace, "00:00:0 ", 7},
                   {keyBackspace, "00:00:  ", 6}, {keyBackspace, "00:0 :  ", 4}, {EditKey::Left, "00:0 :  ", 3},
                   {EditKey::Left, "00:0 :  ", 1}, {EditKey::Right, "00:0 :  ", 3}, {EditKey::Delete, "00:  :  ", 3},
                   {ch('a'), "00:  :  ", 3}, {ch(':'), "00:  :  ", 3}, {keyEnter, "00:  :  ", 3},
                   {ch('5'), "00:5 :  ", 4}, {EditKey::Home, "00:5 :  ", 0}, {EditKey::Left, "00:5 :  ", 0},
                   {keyBackspace, "00:5 :  ", 0}, {ch('2'), "20:5 :  ", 1}, {ch('3'), "23:5 :  ", 3},
                   {EditKey::Right, "23:5 :  ", 4}, {ch('9'), "23:59:  ", 6}, {ch('5'), "23:59:5 ", 7},
                   {ch('9'), "23:59:59", 8}, {EditKey::Right, "23:59:59", 8}, {EditKey::Delete, "23:59:59", 8}}},
        {&plain, {{EditKey::End, "12:45", 5}, {EditKey::Left, "12:45", 4}, {EditKey::Left, "12:45", 3},
                  {ch('3'), "12:345", 4}, {EditKey::Delete, "12:35", 4}, {keyRefused, "12:35", 4},
                  {keyEnter, "12:35", 4}, {EditKey::Home, "12:35", 0}, {keyBackspace, "12:35", 0},
                  {EditKey::Delete, "2:35", 0}, {static_cast<std::int16_t>(0x00E9), "\xC3\xA9" "2:35", 1},
                  {static_cast<std::int16_t>(0x5173), "\xC3\xA9\xE5\x85\xB3" "2:35", 2},
                  {EditKey::Right, "\xC3\xA9\xE5\x85\xB3" "2:35", 3}, {keyBackspace, "\xC3\xA9\xE5\x85\xB3:35", 2},
                  {keyBackspace, "\xC3\xA9:35", 1}, {static_cast<std::int16_t>(0xD83D), "\xC3\xA9:35", 1},
                  {EditKey::End, "\xC3\xA9:35", 4}, {ch('9'), "\xC3\xA9:359", 5}}},
    };
    for (const auto& [field, steps] : journeys) {
        int n = 0;
        for (const auto& s : steps) {
            ++n;
            if (std::holds_alternative<std::int16_t>(s.key)) field->typeChar(std::get<std::int16_t>(s.key));
            else field->editKey(std::get<EditKey>(s.key));
            EXPECT_EQ(field->text(), s.text) << "after key " << n;
            EXPECT_EQ(field->selStart(), s.caret) << "after key " << n;
        }
    }
    EXPECT_TRUE(masked.complete());
    masked.setText("");
    EXPECT_EQ(masked.text(), "  :  :  ");
    EXPECT_FALSE(masked.complete());
    plain.setSelStart(40);
    EXPECT_EQ(plain.selStart(), 5);
}

// Setting a reminder: Enter slides the message open, selected for typing over; a
// double-click on the panel applies without the reset and slides only a closed message.
// A message that still reads as a time shows the new time; one the user wrote is kept
// (horatta-t also fills an empty one). Either way the watch runs again, even when the
// shutdown entry had stopped it, so the armed power-off still comes.
TEST(ReminderEntry, AppliedByEnterOrOnThePanelTheMessageOpensAndTheWatchRuns) {
    const std::vector<std::pair<const char*, bool>> messages{
        {"6:00:00 PM", true}, {"18:00", true}, {"2026-12-06", true}, {"Call Anna", false}, {"", false}};
    for (Build build : bothBuilds) {
        for (bool byEnter : {true, false}) {
            for (const auto& [message, replaced] : messages) {
                SCOPED_TRACE(std::string(buildName(build)) + (byEnter ? " Enter \"" : " panel \"") + message);
                Simulator sim(build, at(2026, 12, 6, 18, 36, 16, 500), {{"time", "18:40:00"}});
                Form1& f = sim.form();
                f.Text1.Text = message;
                f.Picture1_DblClick();
                f.Label1_DblClick();  // the shutdown entry, opened over the panel, stops the watch
                ASSERT_TRUE(sim.runUntilTrue([&] { return f.focus() == f.shutdownFieldId(); }, sim.nowMs() + 5000));
                ASSERT_FALSE(f.Timer3.enabled());
                f.focusArrived(f.reminderFieldId());  // a click into the reminder field
                sim.type(f.reminderFieldId(), byEnter ? "183700\r" : "183700");
                if (!byEnter) f.Picture2_DblClick();
                EXPECT_EQ(f.reminderTime, *TimeOfDay::fromHms(18, 37, 0));
                EXPECT_EQ(f.Text1.Text, replaced || (build == Build::Plain && !*message) ? "18:37:00" : message);
                EXPECT_TRUE(f.Text1.Visible);
                EXPECT_EQ((std::array{f.Text1.Top, f.Height}), (std::array{580.0f, 870.0f}));
                EXPECT_EQ(f.reminderEntryStarted, byEnter ? 0 : 1);
                EXPECT_FALSE(f.Timer2.enabled());
                EXPECT_TRUE(f.reminderField().Visible);
                EXPECT_EQ(f.focus(), ControlId::Text1);
                if (byEnter) {
                    EXPECT_EQ((std::array{f.Text1.SelStart, f.Text1.SelLength}), (std::array{0, static_cast<int>(f.Text1.Text.size())}));
                }
                sim.runUntil(at(2026, 12, 6, 18, 40, 0, 600));
                EXPECT_GT(sim.alertTicks(), 0);
                EXPECT_GT(sim.platform().powerOffCount, 0);
                // The message is open now: a second time is applied where it stands.
                f.Text1.Top = 400;
                f.reminderField().setText("18:45:00");
                f.Picture2_DblClick();
                EXPECT_EQ(f.reminderTime, *TimeOfDay::fromHms(18, 45, 0));
                EXPECT_EQ(f.Text1.Top, 400);
            }
        }
    }
}

}  // namespace
}  // namespace horatta::testing
