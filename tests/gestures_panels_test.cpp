#include "support/simulator.h"

namespace horatta::testing {
namespace {

// The face's mode machine: every state reached by gestures and ticks, each double-click with its first press.

const std::string memo = "Buy milk";
const char* const shortText = "Tea";
const char* const longText = "Leave for the station in ten minutes";

std::int64_t ms(int hour, int minute, int second, int millisecond) { return toMs(at(2026, 12, 6, hour, minute, second, millisecond)); }
void waitFor(Simulator& s, const std::function<bool()>& done) { EXPECT_TRUE(s.runUntilTrue(done, s.nowMs() + 10'000)); }

using Event = std::function<void(Simulator&)>;
constexpr std::int16_t R = buttonRight, M = buttonMiddle;

void dblClickTime(Simulator& s) { s.form().Label1_MouseDown(buttonLeft, 0, 0, 0), s.form().Label1_DblClick(); }
void dblClickFace(Simulator& s) { s.form().Picture1_Click(), s.form().Picture1_DblClick(); }
void dblClickHandle(Simulator& s) { s.form().Label3_MouseDown(buttonLeft, 0, 0, 0), s.form().Label3_DblClick(); }
// A press on the handle; scroll mode toggles only once the drag has returned.
Event pressOn(std::int16_t button, std::int64_t thenMs = 0) {
    return [=](Simulator& s) {
        Form1& f = s.form();
        s.platform().duringDrag = [&f, was = f.scrollOn] { EXPECT_EQ(f.scrollOn, was) << "the toggle waits"; };
        f.Label3_MouseDown(button, 0, 0, 0), s.platform().duringDrag = nullptr, s.runFor(thenMs);
    };
}
// The gesture, then the ticks of the next second and a little, recorded on their own.
Event ticked(Event gesture) { return [=](Simulator& s) { gesture(s), s.ticks.clear(), s.runFor(1100); }; }
void reminderComes(Simulator& s, const char* text) { s.form().Text1.Text = text, s.form().reminderTime = *TimeOfDay::fromHms(18, 36, 18); }
Event reminderDue(const char* text) { return [=](Simulator& s) { reminderComes(s, text), s.runUntil(ms(18, 36, 18, 200)); }; }
void lastMinute(Simulator& s) { s.form().shutdownTime = *TimeOfDay::fromHms(18, 37, 10), s.runUntil(ms(18, 36, 20, 200)); }

enum class From {
    Normal, EmptyMemo, MemoOpen, Scroll, ScrollShowingTime, ScrollFlagTwo, BlinkingShown, BlinkingHidden,
    ScrollingShown, CountdownShown, CountdownHidden, ShutdownEntry, ReminderPanel, ReminderMessage,
};

// Starts the clock at 18:36:16.5, a memo and a 23:00 power-off stored, and takes it into the state.
std::unique_ptr<Simulator> reach(Build build, From from) {
    auto sim = std::make_unique<Simulator>(build, at(2026, 12, 6, 18, 36, 16, 500), Simulator::Settings{
        {"text", memo}, {"time", "23:00:00"}, {"t9", from == From::ScrollFlagTwo ? "2" : "0"}});
    Simulator& s = *sim;
    Form1& f = s.form();
    switch (from) {  // the settled states are seen 0.7 s on
        case From::Normal: case From::ScrollFlagTwo: s.runFor(700); break;
        case From::EmptyMemo: f.Text2.Text.clear(), s.runFor(700); break;
        case From::MemoOpen: f.Picture1_Click(), f.Text2.Text = memo + " and eggs", s.runFor(700); break;  // typed, unstored
        case From::Scroll: pressOn(R, 700)(s); break;
        case From::ScrollShowingTime: pressOn(R, 700)(s), dblClickTime(s), s.runFor(1900); break;  // swapped next second
        case From::BlinkingShown: case From::ScrollingShown: case From::BlinkingHidden:
            reminderComes(s, from == From::ScrollingShown ? longText : shortText);
            waitFor(s, [&f] { return f.reminderAlertOn == 1; }), waitFor(s, [&f] { return f.Label1.Visible; });
            if (from == From::BlinkingHidden) waitFor(s, [&f] { return !f.Label1.Visible; });
            break;
        case From::CountdownShown: case From::CountdownHidden:
            lastMinute(s), waitFor(s, [&f, from] { return f.Label1.Visible == (from == From::CountdownShown); });
            break;
        case From::ShutdownEntry:
            dblClickTime(s), waitFor(s, [&f] { return f.shutdownField().Visible && f.focus() == f.shutdownFieldId(); });
            s.type(f.shutdownFieldId(), "220000");
            break;
        case From::ReminderPanel: case From::ReminderMessage:
            dblClickFace(s), waitFor(s, [&f] { return f.reminderField().Visible && f.focus() == f.reminderFieldId(); });
            s.type(f.reminderFieldId(), from == From::ReminderPanel ? "19" : "193000\r");
            break;
    }
    return sim;
}

// The face at rest in the normal clock, with no beep and no power-off to follow.
void backAtRest(Simulator& s, Form1& f) {
    EXPECT_EQ((std::array{f.Label1.Visible, f.Label1.autoSize(), f.Label1.alignment == Alignment::Left, f.Label1.Left == faceRestLeft}),
              (std::array{true, true, true, true}));
    const std::size_t beeps = s.platform().beeps.size();  // stopped at once
    s.runUntil(ms(18, 37, 15, 100));
    EXPECT_EQ(f.Label1.caption() + std::to_string(f.Timer1.interval() + s.platform().powerOffCount) +
              std::to_string(s.platform().beeps.size() - beeps), "18:37:1510000");
}

// Besides the mode: First judges `left` and `caption` on the next tick; ByHandle: the double-click
// that stops an alert or countdown forgets the power-off and writes nothing, the next one leaves.
enum Then { Face, First, ScrollOff, ByTime, ByHandle, Applied };

// Checked when given: Timer1's interval, the time's left edge, the caption ("memo", "time" or itself).
struct Row { const char* name; From from; Event event; const char* next; Then then = Face; int interval = 0; float left = -1;
             const char* caption = ""; };

// The handle's double-click in the running clock, which saves and leaves, is the storage tests'.
TEST(DisplayModes, EveryTransitionOfTheFace) {
    using enum From;
    const std::vector<Row> rows{
        {"double-click on the time: the entry", Normal, dblClickTime, "shutdown entry"},
        {"memo open, double-click on the time: no entry", MemoOpen, dblClickTime, "normal"},
        {"right press on the handle", Normal, ticked(pressOn(R)), "scroll", First, faceScrollIntervalMs, 130, "memo"},
        {"middle press, empty memo: the time scrolls", EmptyMemo, pressOn(M, 1100), "scroll", Face, 0, -1, "time"},
        {"stored scroll flag of 2: a press counts it as on", ScrollFlagTwo, pressOn(R), "normal", ScrollOff},
        {"reminder due: a short text blinks", Normal, reminderDue(shortText), "blinking alert", Face, faceBlinkIntervalMs},
        {"reminder due: a long text scrolls", Normal, reminderDue(longText), "scrolling alert", Face, faceScrollIntervalMs},
        {"scroll mode, reminder due: scroll mode ends", Scroll, reminderDue(shortText), "blinking alert", ScrollOff},
        {"blinking alert, right press", BlinkingShown, pressOn(R, 600), "blinking alert", ScrollOff},
        {"last minute: the countdown", Normal, lastMinute, "countdown", Face, 0, -1, "50 关机"},
        {"scroll mode, last minute: the countdown at rest", Scroll, lastMinute, "countdown", Face, 0, 150},
        {"scroll mode, double-click", Scroll, ticked(dblClickTime), "scroll", First, 0, 130, "time"},
        {"time scrolling, double-click", ScrollShowingTime, ticked(dblClickTime), "scroll", First, 0, 130, "memo"},
        {"scroll mode, right press: the clock", Scroll, pressOn(R, 1100), "normal", Face, faceClockIntervalMs, 150},
        {"blinking alert, double-click on the time", BlinkingShown, dblClickTime, "normal", ByTime},
        {"countdown, double-click on the time", CountdownShown, dblClickTime, "normal", ByTime},
        {"blinking alert shown, double-click on the handle", BlinkingShown, dblClickHandle, "normal", ByHandle},
        {"blinking alert hidden, double-click on the handle", BlinkingHidden, dblClickHandle, "normal", ByHandle},
        {"countdown, double-click on the handle", CountdownShown, dblClickHandle, "normal", ByHandle},
        {"shutdown-time entry, Enter", ShutdownEntry, [](Simulator& s) { s.type(s.form().shutdownFieldId(), "\r"); }, "normal", Applied},
    };
    for (Build build : bothBuilds) for (const auto& row : rows) {
        SCOPED_TRACE(std::string(buildName(build)) + ": " + row.name);
        auto sim = reach(build, row.from);
        Simulator& s = *sim;
        Form1& f = s.form();
        const Color colour = f.Label1.ForeColor;
        const std::int16_t ticksLeft = f.ticksLeft;
        const std::size_t writes = s.platform().memory.writtenNames.size();
        row.event(s);
        // a double-click on the time undoes its first press
        EXPECT_EQ(modeOf(f) + (f.Label1.ForeColor == colour ? "" : ", recoloured"), row.next);
        const bool first = row.then == First;
        Tick face = first ? s.ticksOf(TimerId::Timer1).front() : Tick{};
        if (!first) face.caption = f.Label1.caption(), face.left = f.Label1.Left;
        const std::string time = first ? fromMs(face.firedMs).timeOfDay().hms() : f.timeText();
        const std::string caption = row.caption, expected = caption == "memo" ? memo : caption == "time" ? time : caption;
        if (row.interval != 0) { EXPECT_EQ(f.Timer1.interval(), row.interval); }
        if (row.left >= 0) { EXPECT_EQ(face.left, row.left); }
        if (!caption.empty()) { EXPECT_EQ(face.caption, expected); }
        switch (row.then) {
            case ScrollOff: EXPECT_EQ(f.scrollOn, 0); break;
            case ByTime: EXPECT_EQ(f.ticksLeft, ticksAtRest); backAtRest(s, f); break;
            case ByHandle:
                EXPECT_FALSE(s.ended() || s.platform().memory.writtenNames.size() != writes) << "nothing saved";
                EXPECT_TRUE(f.shutdownTime.isMidnight() && f.ticksLeft == ticksLeft) << "however far ahead it lay";
                backAtRest(s, f), dblClickHandle(s);
                EXPECT_TRUE(s.ended());
                break;
            case Applied: EXPECT_EQ(f.shutdownTime, *TimeOfDay::fromHms(22, 0, 0)); break;
            case Face: case First: break;
        }
    }
}

// The window's height says which panel is open (600: the reminder panel, which takes the
// keyboard). It never stores the memo nor powers off; a cancelled countdown stays so.
TEST(PanelSwitching, DoubleClickOnTheFaceFromEveryState) {
    using enum From;
    // height 0: the panel opens in horatta only; restsAtOnce: not only from the next tick; shutdownHour 0: none.
    struct Case { const char* name; From from; int height; bool restsAtOnce; int shutdownHour; };
    const std::vector<Case> rows{
        {"normal clock: the memo opened by the click hides", Normal, 600, true, 23},
        {"memo open and edited: hidden unstored", MemoOpen, 600, true, 23},
        {"reminder message open: unchanged", ReminderMessage, 870, false, 23},
        {"reminder panel open, a time begun: unchanged", ReminderPanel, 600, false, 23},
        {"scroll mode: the clock, scroll mode off for good", Scroll, 300, true, 23},
        {"scrolling alert: the alert ends", ScrollingShown, 300, true, 23},
        {"blinking alert shown: stopped", BlinkingShown, 0, false, 23},
        {"blinking alert hidden: the time at rest", BlinkingHidden, 300, true, 23},
        {"countdown shown: cancelled", CountdownShown, 300, true, 0},
        {"countdown hidden: cancelled and the time shows", CountdownHidden, 300, true, 0},
        {"shutdown-time entry: applied", ShutdownEntry, 300, false, 22},
    };
    for (Build build : bothBuilds) for (const Case& row : rows) {
        SCOPED_TRACE(std::string(buildName(build)) + ": " + row.name);
        auto sim = reach(build, row.from);
        Simulator& s = *sim;
        Form1& f = s.form();
        dblClickFace(s);
        EXPECT_EQ((std::array{f.Label3.Visible, f.Text2.Visible, f.scrollOn == 1}), (std::array{true, false, false}));
        EXPECT_EQ(modeOf(f) + ": " + f.Text2.Text, "normal: " + (row.from == MemoOpen ? memo + " and eggs" : memo));
        const int height = row.height != 0 ? row.height : build == Build::Masked ? 600 : 300;
        EXPECT_EQ((std::array{int(f.Height), int{f.Text1.Visible}, int{f.reminderField().Visible}}),
                  (std::array{height, int{height == 870}, int{height == 600 || height == 870}}));
        if (height == 600) { EXPECT_EQ(f.Picture2.Top, stripHeight); waitFor(s, [&f] { return f.focus() == f.reminderFieldId(); }); }
        if (height == 300 || row.from == ReminderPanel) { EXPECT_FALSE(f.Timer2.enabled()) << "the blink stays stopped"; }
        if (row.from == ReminderPanel) { EXPECT_EQ(f.reminderField().text(), build == Build::Masked ? "19:  :  " : "19"); }
        if (row.restsAtOnce) { EXPECT_EQ(f.Label1.caption(), f.timeText()); backAtRest(s, f); }
        s.runUntil(ms(18, 37, 15, 100));
        EXPECT_EQ(f.Label1.Visible ? f.Label1.caption() : "", "18:37:15");
        EXPECT_EQ(f.shutdownTime, *TimeOfDay::fromHms(row.shutdownHour, 0, 0));
        EXPECT_EQ(s.stored("text").value_or("") + std::to_string(s.platform().powerOffCount), memo + "0");
    }
}

// Only Enter or a double-click closes the memo; closing gives the keyboard back and stores it
// exactly as typed (no padding, nothing cut), whole across a restart, whatever its characters.
TEST(Memo, OpensSelectedAndClosingStoresItExactlyAcrossARestart) {
    const std::string note = "  你好，世界 two  spaces", typed = note + "!";  // 19 characters
    for (bool byEnter : {true, false}) {
        SCOPED_TRACE(byEnter ? "Enter" : "double-click");
        Simulator clock(byEnter ? Build::Masked : Build::Plain, at(2026, 12, 6, 18, 36, 16, 500), {{"text", note}});
        Form1& f = clock.form();
        f.Picture1_Click();
        EXPECT_EQ((std::array{f.Text2.Top, f.Height, float(f.Text2.SelStart), float(f.Text2.SelLength), float(f.focus() == ControlId::Text2)}),
                  (std::array{295.0f, 580.0f, 0.0f, 19.0f, 1.0f}));
        for (int key : {int('a'), int('\b'), 27, 10, 0x4F60}) {
            auto passed = static_cast<std::int16_t>(key);
            EXPECT_TRUE((f.Text2_KeyPress(passed), passed == key && f.Text2.Visible)) << "goes to the text";
        }
        EXPECT_EQ(clock.stored("text"), note) << "nothing stored while typing";
        f.Text2.Text = typed, f.Text2.SelStart = 3;  // as the native field reports what was typed
        std::int16_t enter = keyEnter;
        byEnter ? f.Text2_KeyPress(enter) : f.Text2_DblClick();
        EXPECT_EQ(enter, byEnter ? 0 : keyEnter) << "Enter is swallowed";
        EXPECT_EQ((std::array{f.Text2.Visible, f.Text2.Top == 20, f.Height == stripHeight, f.focus() == ControlId::Text2}),
                  (std::array{false, true, true, false})) << "a hidden memo cannot keep the keyboard";
        clock.restart();
        EXPECT_EQ(clock.form().Text2.Text + "|" + *clock.stored("text"), typed + "|" + typed) << "not rewritten";
    }
}

}  // namespace
}  // namespace horatta::testing
