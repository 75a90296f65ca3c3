#include "support/simulator.h"

namespace horatta::testing {
namespace {

enum class Field { Shutdown, Reminder };

// Opens the field by its gesture and lets the blink hand it the keyboard.
TimeField& open(Simulator& clock, Field field) {
    Form1& f = clock.form();
    field == Field::Shutdown ? f.Label1_DblClick() : f.Picture1_DblClick();
    f.Timer2_Timer(), f.Timer2_Timer();
    return field == Field::Shutdown ? f.shutdownField() : f.reminderField();
}

// The first hour digit decides whether the second is limited; the plain field, with no mask,
// adds the colon itself after the hour and the minutes, whatever the key.
TEST(TimeEntry, WhatTheFieldHoldsAfterTyping) {
    using enum Build;
    struct Row { Build build; const char *keys, *text; int caret; };
    // In turn: whole entries; 4 after 2 is no hour; refused first keys still clear the field; no tens of minutes;
    // Backspace passes where no rule refuses it; Escape clears, then is refused; Enter applies nothing, nor a part.
    const std::vector<Row> rows{
        {Masked, "235959", "23:59:59", 8}, {Plain, "235959", "23:59:59", 8}, {Plain, "123045", "12:30:45", 8},
        {Masked, "24", "2 :  :  ", 1}, {Plain, "24", "2", 1}, {Masked, "19", "19:  :  ", 3}, {Plain, "19", "19", 2},
        {Masked, "7", "  :  :  ", 0}, {Masked, "/", "  :  :  ", 0}, {Plain, "7", "", 0}, {Masked, "12/", "12:  :  ", 3},
        {Masked, "126", "12:  :  ", 3}, {Plain, "126", "12:", 3}, {Masked, "12306", "12:30:  ", 6}, {Plain, "12306", "12:30:", 6},
        {Plain, "127", "12:", 3}, {Masked, "123\b", "12:  :  ", 3}, {Plain, "123\b", "12:", 3}, {Masked, "\x1b", "  :  :  ", 0},
        {Plain, "\x1b", "", 0}, {Masked, "\r", "00:00:00", 0}, {Plain, "\r", "00:00:00", 0}, {Masked, "21300\r", "21:30:0 ", 7},
        {Plain, "123x\r", "12:3x:", 6},
    };
    for (const auto& row : rows) for (Field field : {Field::Shutdown, Field::Reminder}) {
        if (field == Field::Reminder && row.keys[0] == '\r') continue;  // Enter there opens the message
        SCOPED_TRACE(std::string(buildName(row.build)) + ", field " + std::to_string(int(field)) + ": " + row.keys);
        Simulator clock(row.build);
        const Form1& f = clock.form();
        TimeField& box = open(clock, field);
        clock.type(box.id, row.keys);
        EXPECT_EQ(box.text() + " " + std::to_string(box.selStart()), row.text + (" " + std::to_string(row.caret)));
        const int started = field == Field::Shutdown ? f.shutdownEntryStarted : f.reminderEntryStarted;
        EXPECT_EQ((std::array{started, int{box.Visible}}), (std::array{row.keys[0] != '\r' ? 1 : 0, 1})) << "nothing applied";
    }
}

// After the last digit horatta-t applies at once (its field has no end); horatta marks the shutdown
// entry done and applies it at the field's next focus or a double-click on the face.
TEST(TimeEntry, TheKeyAfterTheLastDigitAndKeysBeforeTheBlink) {
    for (Build build : bothBuilds) {
        for (bool byFocus : {true, false}) {
            SCOPED_TRACE(std::string(buildName(build)) + (byFocus ? ", focus" : ", double-click on the face"));
            Simulator clock(build);
            Form1& f = clock.form();
            clock.type(open(clock, Field::Shutdown).id, "2130009");
            EXPECT_EQ(f.shutdownField().text(), "21:30:00") << "the key is not typed";
            if (build == Build::Masked) {
                EXPECT_TRUE(f.shutdownEntryDone == 1 && f.shutdownTime.isMidnight()) << "marked, not yet applied";
                f.focusArrived(ControlId::Picture1), byFocus ? f.focusArrived(ControlId::MaskEdBox1) : f.Picture1_DblClick();
            }
            EXPECT_TRUE(f.shutdownTime.hms() == "21:30:00" && !f.shutdownField().Visible && f.shutdownEntryDone == 0);
        }
        Simulator clock(build);
        clock.type(open(clock, Field::Reminder).id, "1837009");
        EXPECT_EQ(clock.form().reminderTime.hms() + std::to_string(clock.form().shutdownEntryDone),
                  build == Build::Plain ? "18:37:000" : "00:00:000");
        Simulator untouched(build);  // the panel applied before a key: its midnight, and the blink stops
        untouched.form().Picture1_DblClick(), untouched.form().Picture2_DblClick(), untouched.runFor(2000);
        EXPECT_TRUE(untouched.form().reminderField().Visible);
        Simulator blinkless(build);  // hidden by its blink, the field lets the keyboard go; applied, it blinks no more
        Form1& b = blinkless.form();
        const bool letGo = (open(blinkless, Field::Shutdown), b.Timer2_Timer(), b.focus() != b.shutdownFieldId());
        EXPECT_TRUE((b.Picture1_DblClick(), blinkless.runFor(2000), letGo && !b.shutdownField().Visible));
        // A key before the blink hands over the keyboard goes in, as do the editing keys; a
        // double-click on the face with no whole time typed gives the keyboard back.
        Simulator early(build);
        Form1& f = early.form();
        f.Label1_DblClick(), early.type(f.shutdownFieldId(), "1");
        const std::string typed = f.shutdownField().text() + "@" + std::to_string(f.shutdownField().selStart()) +
                                  (f.Timer3.enabled() ? "" : ", watch resting");
        f.timeFieldEditKey(f.shutdownFieldId(), EditKey::Home), f.focusArrived(ControlId::Picture1), f.Picture1_DblClick();
        EXPECT_EQ(typed + std::to_string(f.shutdownField().selStart()) + (f.focus() == f.shutdownFieldId() ? " kept" : ""),
                  build == Build::Masked ? "1 :  :  @1, watch resting0 kept" : "1@1, watch resting0 kept");
    }
}

TEST(TimeField, TypingAndEditingKeysInBothFields) {
    MaskedTimeField masked;
    PlainTimeField plain;
    masked.setText("00:00:00"), masked.setText("21-30-00"), masked.setText("x1:30:00"), plain.setText("12:45");
    EXPECT_EQ(masked.text(), "00:00:00") << "only texts that fit the mask are taken";
    // Keys in turn (the arrows are the editing keys, in EditKey's order); after each, the text @ the caret.
    const std::u16string_view editKeys = u"←→⇤⇥⌦";
    const std::tuple<TimeField*, std::u16string_view, std::string> journeys[]{
        {&masked, u"⇥1\b\b\b←←→⌦a:\r5⇤←\b23→959→⌦",
         "00:00:00@8|00:00:00@8|00:00:0 @7|00:00:  @6|00:0 :  @4|00:0 :  @3|00:0 :  @1|00:0 :  @3|00:  :  @3|00:  :  @3|"
         "00:  :  @3|00:  :  @3|00:5 :  @4|00:5 :  @0|00:5 :  @0|00:5 :  @0|20:5 :  @1|23:5 :  @3|23:5 :  @4|23:59:  @6|"
         "23:59:5 @7|23:59:59@8|23:59:59@8|23:59:59@8|"},
        {&plain, u"⇥←←3⌦\x11\r⇤\b⌦\u0080\u0800→\b\b\xD83D\xDFFF⇥9 ",  // 0x11: a key the shell refused
         "12:45@5|12:45@4|12:45@3|12:345@4|12:35@4|12:35@4|12:35@4|12:35@0|12:35@0|2:35@0|\xC2\x80" "2:35@1|\xC2\x80\xE0\xA0\x80"
         "2:35@2|\xC2\x80\xE0\xA0\x80" "2:35@3|\xC2\x80\xE0\xA0\x80:35@2|\xC2\x80:35@1|\xC2\x80:35@1|\xC2\x80:35@1|\xC2\x80:35@4|\xC2\x80:359@5|\xC2\x80:359 @6|"},
    };
    for (const auto& [field, keys, expected] : journeys) {
        std::string seen;
        for (char16_t key : keys) {
            const auto edit = editKeys.find(key);
            edit == editKeys.npos ? field->typeChar(static_cast<std::int16_t>(key)) : field->editKey(static_cast<EditKey>(edit));
            seen += field->text() + "@" + std::to_string(field->selStart()) + "|";
        }
        EXPECT_EQ(seen, expected);
    }
    const bool wasComplete = masked.complete();
    masked.setText(""), plain.setSelStart(40);
    EXPECT_TRUE(wasComplete && !masked.complete() && masked.text() == "  :  :  " && plain.selStart() == 6);
    masked.setSelStart(-3);
    EXPECT_EQ(masked.selStart(), 0);
}

// Enter opens the message selected; a double-click on the panel applies without the reset and
// opens only a closed message. A message that reads as a time shows the new one; the user's is
// kept (horatta-t fills an empty one). The watch runs again even where the shutdown entry stopped
// it; only the double-click also closes that entry.
TEST(ReminderEntry, AppliedByEnterOrOnThePanelTheMessageOpensAndTheWatchRuns) {
    const std::pair<const char*, bool> messages[]{{"6:00:00 PM", 1}, {"2026-12-06", 1}, {"Call Anna", 0}, {"", 0}};
    for (Build build : bothBuilds) for (bool byEnter : {true, false}) {
        for (const auto& [message, replaced] : messages) {
            SCOPED_TRACE(std::string(buildName(build)) + (byEnter ? " Enter \"" : " panel \"") + message);
            Simulator sim(build, at(2026, 12, 6, 18, 36, 16, 500), {{"time", "18:40:00"}});
            Form1& f = sim.form();
            f.Text1.Text = message, f.Picture1_DblClick();
            f.Label1_DblClick();  // the shutdown entry, opened over the panel, stops the watch
            ASSERT_TRUE(sim.runUntilTrue([&] { return f.focus() == f.shutdownFieldId(); }, sim.nowMs() + 5000) &&
                        !f.Timer3.enabled());
            f.focusArrived(f.reminderFieldId()), sim.type(f.reminderFieldId(), byEnter ? "183700\r" : "183700");  // clicked in
            if (!byEnter) f.Picture2_DblClick();
            const std::string shown = replaced || (build == Build::Plain && !*message) ? "18:37:00" : message;
            EXPECT_EQ(f.reminderTime.hms() + " " + f.Text1.Text, "18:37:00 " + shown);
            // open: message, field, blink, top, height, entry begun, keyboard, selection when reset
            EXPECT_EQ((std::array<int, 9>{f.Text1.Visible, f.reminderField().Visible, f.Timer2.enabled(), int(f.Text1.Top),
                                          int(f.Height), f.reminderEntryStarted, f.focus() == ControlId::Text1,
                                          f.Text1.SelStart, byEnter ? f.Text1.SelLength : 0}),
                      (std::array{1, 1, 0, 580, 870, byEnter ? 0 : 1, 1, 0, byEnter ? int(shown.size()) : 0}));
            sim.runUntil(at(2026, 12, 6, 18, 40, 0, 600));
            EXPECT_FALSE(sim.ticksOf(TimerId::Timer1, true).empty() || sim.platform().powerOffCount == 0);
            // The message is open now: a second time is applied where it stands.
            f.Text1.Top = 400, f.reminderField().setText("18:45:00"), f.Picture2_DblClick();
            EXPECT_EQ(f.reminderTime.hms() + " " + std::to_string(int(f.Text1.Top)), "18:45:00 400");
            f.Label1_DblClick();
            const std::string kept = f.Text1.Text;
            std::int16_t enter = keyEnter;
            // The key or the click lands in the message, or the entry's blink has just taken the keyboard.
            f.focusArrived(byEnter || build == Build::Masked ? ControlId::Text1 : f.shutdownFieldId());
            byEnter ? f.Text1_KeyPress(enter) : f.Text1_DblClick();
            EXPECT_EQ(std::to_string(enter) + f.Text1.Text, std::to_string(byEnter ? 0 : keyEnter) + kept) << "swallowed";
            EXPECT_EQ((std::array<int, 9>{f.Text1.Visible, f.reminderField().Visible, f.Label1.Visible, int(f.Text1.Top),
                                          int(f.Picture2.Top), int(f.Height), f.shutdownField().Visible,
                                          f.focus() == ControlId::Picture1, f.Picture2.Visible}),
                      (std::array{0, 0, 1, 360, 0, 300, byEnter ? 1 : 0, 1, 1}));
        }
    }
}

}  // namespace
}  // namespace horatta::testing
