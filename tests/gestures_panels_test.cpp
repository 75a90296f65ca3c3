#include <gtest/gtest.h>

#include <functional>

#include "support/simulator.h"

namespace horatta::testing {
namespace {

// The mode machine of the face, driven as a user drives it: every state is reached by real
// gestures and ticks on the simulator, every double-click comes with its first press.

const std::string memo = "Buy milk";
const std::string countdownSuffix = " 关机";

std::int64_t ms(int hour, int minute, int second, int millisecond = 0) {
    return toMs(at(2026, 12, 6, hour, minute, second, millisecond));
}

void waitFor(Simulator& sim, const std::function<bool()>& done, std::int64_t limitMs = 10'000) {
    EXPECT_TRUE(sim.runUntilTrue(done, sim.nowMs() + limitMs));
}

void type(Simulator& sim, ControlId field, std::string_view keys) {
    for (char c : keys) sim.form().timeFieldKeyPress(field, static_cast<std::int16_t>(c));
}

void dblClickTime(Simulator& s) {
    s.form().Label1_MouseDown(buttonLeft, 0, 0, 0);
    s.form().Label1_DblClick();
}
void dblClickFace(Simulator& s) {
    s.form().Picture1_Click();
    s.form().Picture1_DblClick();
}
void dblClickHandle(Simulator& s) {
    s.form().Label3_MouseDown(buttonLeft, 0, 0, 0);
    s.form().Label3_DblClick();
}
void reminderComes(Simulator& s, const char* text) {
    s.form().Text1.Text = text;
    s.form().reminderTime = *TimeOfDay::fromHms(18, 36, 18);
}
const char* const shortText = "Tea";
const char* const longText = "Leave for the station in ten minutes";

enum class From {
    Normal, MemoOpen, Scroll, ScrollShowingTime, ScrollEmptyMemo, ScrollFlagTwo,
    BlinkingShown, BlinkingHidden, ScrollingShown, ScrollingHidden, CountdownShown, CountdownHidden,
    ShutdownEntry, ReminderPanel, ReminderMessage, MemoUnderHiddenAlert,
};

// Starts the clock at 18:36:16.5 with a memo and a power-off stored for 23:00, and takes it
// into the state.
std::unique_ptr<Simulator> reach(Build build, From from) {
    Simulator::Settings stored{{"text", memo}, {"time", "23:00:00"}};
    if (from == From::ScrollFlagTwo) stored.emplace_back("t9", "2");
    auto sim = std::make_unique<Simulator>(build, at(2026, 12, 6, 18, 36, 16, 500), stored);
    Simulator& s = *sim;
    Form1& f = s.form();
    const auto alertOn = [&f] { return f.reminderAlertOn == 1; };
    const auto shown = [&f] { return f.Label1.Visible; };
    const auto hidden = [&f] { return !f.Label1.Visible; };
    switch (from) {
        case From::Normal: case From::ScrollFlagTwo: break;
        case From::MemoOpen:
            f.Picture1_Click();
            f.Text2.Text = memo + " and eggs";  // typed, not yet stored
            break;
        case From::Scroll: s.form().Label3_MouseDown(buttonRight, 0, 0, 0); break;
        case From::ScrollShowingTime:
            s.form().Label3_MouseDown(buttonRight, 0, 0, 0);
            s.runFor(700);
            dblClickTime(s);
            s.runFor(1200);  // the swap scrolls from the next whole second
            break;
        case From::ScrollEmptyMemo:
            f.Text2.Text.clear();
            s.form().Label3_MouseDown(buttonRight, 0, 0, 0);
            break;
        case From::BlinkingShown: case From::ScrollingShown: case From::BlinkingHidden:
            reminderComes(s, from == From::ScrollingShown ? longText : shortText);
            waitFor(s, alertOn);
            waitFor(s, shown);
            if (from == From::BlinkingHidden) waitFor(s, hidden);
            return sim;
        case From::ScrollingHidden:  // the alert begins hidden; the first scrolling tick shows it
            reminderComes(s, longText);
            waitFor(s, alertOn);
            return sim;
        case From::MemoUnderHiddenAlert:
            f.Picture1_Click();
            reminderComes(s, shortText);
            waitFor(s, alertOn);
            return sim;
        case From::CountdownShown: case From::CountdownHidden:
            f.shutdownTime = *TimeOfDay::fromHms(18, 37, 10);
            waitFor(s, [&f] { return !f.Timer1.enabled(); });
            waitFor(s, [&f, from] { return f.Label1.Visible == (from == From::CountdownShown); });
            return sim;
        case From::ShutdownEntry:
            dblClickTime(s);
            waitFor(s, [&f] { return f.shutdownField().Visible && f.focus() == f.shutdownFieldId(); });
            type(s, f.shutdownFieldId(), "220000");
            return sim;
        case From::ReminderPanel: case From::ReminderMessage:
            dblClickFace(s);
            waitFor(s, [&f] { return f.reminderField().Visible && f.focus() == f.reminderFieldId(); });
            type(s, f.reminderFieldId(), from == From::ReminderPanel ? "19" : "193000\r");
            return sim;
    }
    s.runFor(700);
    return sim;
}

struct Before {
    Color colour;
    std::int16_t ticksLeft;
    std::size_t writes;
    int watchInterval;
};

using Check = std::function<void(Simulator&, Form1&, const Before&)>;

struct Row {
    const char* name;
    From from;
    std::function<void(Simulator&)> event;
    Mode next;
    Check check = nullptr;
};

// The face at rest in the normal clock, with no beep and no power-off to follow.
void backAtRest(Simulator& s, Form1& f) {
    EXPECT_TRUE(f.Label1.Visible);
    EXPECT_TRUE(f.Label1.autoSize());
    EXPECT_EQ(f.Label1.alignment, Alignment::Left);
    EXPECT_EQ(f.Label1.Left, 150);
    EXPECT_EQ(f.Timer1.interval(), 1000);
    const std::size_t beeps = s.platform().beeps.size();
    s.runUntil(ms(18, 37, 15, 100));
    EXPECT_EQ(s.platform().beeps.size(), beeps) << "stopped at once";
    EXPECT_EQ(s.platform().powerOffCount, 0);
    EXPECT_EQ(f.Label1.caption(), "18:37:15");
}

void stoppedByTime(Simulator& s, Form1& f, const Before&) {
    EXPECT_EQ(f.ticksLeft, ticksAtRest);
    backAtRest(s, f);
}

// The double-click on the handle that stops an alert or a countdown also forgets the
// power-off for this run and writes nothing; the next one saves and leaves.
void stoppedByHandle(Simulator& s, Form1& f, const Before& b) {
    EXPECT_FALSE(s.ended());
    EXPECT_EQ(s.platform().memory.writtenNames.size(), b.writes);
    EXPECT_TRUE(f.shutdownTime.isMidnight()) << "however far ahead it lay";
    EXPECT_EQ(f.ticksLeft, b.ticksLeft);
    EXPECT_EQ(f.Timer3.interval(), b.watchInterval);
    backAtRest(s, f);
    dblClickHandle(s);
    EXPECT_TRUE(s.ended());
}

using Event = std::function<void(Simulator&)>;

Event pressOn(std::int16_t button) {
    return [button](Simulator& s) { s.form().Label3_MouseDown(button, 0, 0, 0); };
}
Event thenRun(Event gesture, std::int64_t forMs) {
    return [=](Simulator& s) {
        gesture(s);
        s.runFor(forMs);
    };
}
// The gesture, then the ticks of the next second and a little, recorded on their own.
Event firstTicksAfter(Event gesture) {
    return [=](Simulator& s) {
        gesture(s);
        s.clearRecord();
        s.runFor(1100);
    };
}
Event reminderDue(const char* text) {
    return [=](Simulator& s) {
        reminderComes(s, text);
        s.runUntil(ms(18, 36, 18, 200));
    };
}
void lastMinute(Simulator& s) {
    s.form().shutdownTime = *TimeOfDay::fromHms(18, 37, 10);
    s.runUntil(ms(18, 36, 20, 200));
}
void alertRunsItsCourse(Simulator& s) {
    waitFor(s, [&s] { return s.form().reminderAlertOn == 0; }, 300'000);
}

// The rows of the mode machine for the double-click on the time, the presses on the handle,
// its double-click, and the ticks. The handle's double-click in the running clock saves and
// ends the program: its rows are in moving_leaving_test.cpp, with the values it stores.
TEST(DisplayModes, EveryTransitionOfTheFace) {
    const std::vector<Row> rows{
        {"normal clock, double-click on the time: the shutdown-time entry opens", From::Normal, dblClickTime,
         Mode::ShutdownEntry},
        {"normal clock with the memo open, double-click on the time: no entry", From::MemoOpen, dblClickTime,
         Mode::Normal, [](Simulator&, Form1& f, const Before&) { EXPECT_EQ(f.colorIndex, 1) << "no hold"; }},
        {"normal clock, right press on the handle: the memo scrolls from the next tick", From::Normal,
         [](Simulator& s) {
             Form1& f = s.form();
             s.platform().duringDrag = [&f] { EXPECT_EQ(f.scrollOn, 0) << "the toggle waits for the drag"; };
             firstTicksAfter(pressOn(buttonRight))(s);
         },
         Mode::Scroll,
         [](Simulator& s, Form1& f, const Before&) {
             EXPECT_EQ(f.Timer1.interval(), 50);
             EXPECT_EQ(s.ticksOf(TimerId::Timer1).front().left, 130);
             EXPECT_EQ(f.Label1.caption(), memo);
         }},
        {"normal clock, middle press with an empty memo: the time scrolls", From::Normal,
         [](Simulator& s) {
             s.form().Text2.Text.clear();
             thenRun(pressOn(buttonMiddle), 1100)(s);
         },
         Mode::Scroll, [](Simulator&, Form1& f, const Before&) { EXPECT_EQ(f.Label1.caption(), f.timeText()); }},
        {"normal clock, left press on the handle: only a drag", From::Normal, thenRun(pressOn(buttonLeft), 1100),
         Mode::Normal},
        {"stored scroll flag of 2: the clock runs, and a press counts it as on", From::ScrollFlagTwo,
         [](Simulator& s) {
             EXPECT_EQ(s.form().Timer1.interval(), 1000) << "only 1 scrolls";
             EXPECT_EQ(s.form().Label1.Left, 150);
             pressOn(buttonRight)(s);
         },
         Mode::Normal, [](Simulator&, Form1& f, const Before&) { EXPECT_EQ(f.scrollOn, 0); }},
        {"normal clock, the reminder time comes: a short text blinks", From::Normal, reminderDue(shortText),
         Mode::BlinkingAlert, [](Simulator&, Form1& f, const Before&) { EXPECT_EQ(f.Timer1.interval(), 500); }},
        {"normal clock, the reminder time comes: a long text scrolls", From::Normal, reminderDue(longText),
         Mode::ScrollingAlert, [](Simulator&, Form1& f, const Before&) { EXPECT_EQ(f.Timer1.interval(), 50); }},
        {"scroll mode, the reminder time comes: the first alert tick ends scroll mode", From::Scroll,
         reminderDue(shortText), Mode::BlinkingAlert,
         [](Simulator&, Form1& f, const Before&) { EXPECT_EQ(f.scrollOn, 0); }},
        {"blinking alert, right press on the handle: the alert goes on and clears the flag", From::BlinkingShown,
         thenRun(pressOn(buttonRight), 600), Mode::BlinkingAlert,
         [](Simulator&, Form1& f, const Before&) { EXPECT_EQ(f.scrollOn, 0); }},
        {"normal clock, last minute before the power-off: the countdown", From::Normal, lastMinute, Mode::Countdown,
         [](Simulator&, Form1& f, const Before&) { EXPECT_EQ(f.Label1.caption(), "50" + countdownSuffix); }},
        {"scroll mode, last minute before the power-off: the countdown, the text at rest", From::Scroll, lastMinute,
         Mode::Countdown, [](Simulator&, Form1& f, const Before&) { EXPECT_EQ(f.Label1.Left, 150); }},
        {"scroll mode, double-click on the time: the time scrolls from the rest place", From::Scroll,
         firstTicksAfter(dblClickTime), Mode::Scroll,
         [](Simulator& s, Form1&, const Before&) {
             const Tick first = s.ticksOf(TimerId::Timer1).front();
             EXPECT_EQ(first.left, 130);
             EXPECT_EQ(first.caption, fromMs(first.firedMs).timeOfDay().hms());
         }},
        {"scroll mode showing the time, double-click: the memo comes back", From::ScrollShowingTime,
         firstTicksAfter(dblClickTime), Mode::Scroll,
         [](Simulator& s, Form1&, const Before&) {
             EXPECT_EQ(s.ticksOf(TimerId::Timer1).front().left, 130);
             EXPECT_EQ(s.ticksOf(TimerId::Timer1).front().caption, memo);
         }},
        {"scroll mode with an empty memo, double-click: the time keeps scrolling", From::ScrollEmptyMemo,
         firstTicksAfter(dblClickTime), Mode::Scroll,
         [](Simulator&, Form1& f, const Before&) { EXPECT_EQ(f.Label1.caption(), f.timeText()); }},
        {"scroll mode, right press on the handle: the clock from the next tick", From::Scroll,
         thenRun(pressOn(buttonRight), 1100), Mode::Normal,
         [](Simulator&, Form1& f, const Before&) {
             EXPECT_EQ(f.Timer1.interval(), 1000);
             EXPECT_EQ(f.Label1.Left, 150);
         }},
        {"blinking alert runs its course: the normal clock", From::BlinkingShown, alertRunsItsCourse, Mode::Normal,
         [](Simulator&, Form1& f, const Before&) { EXPECT_EQ(f.ticksLeft, ticksAtRest); }},
        {"scrolling alert runs its course: the normal clock", From::ScrollingShown, alertRunsItsCourse,
         Mode::Normal, [](Simulator&, Form1& f, const Before&) { EXPECT_EQ(f.ticksLeft, ticksAtRest); }},
        {"blinking alert, double-click on the time: stopped at once", From::BlinkingShown, dblClickTime,
         Mode::Normal, stoppedByTime},
        {"scrolling alert, double-click on the time: stopped at once", From::ScrollingShown, dblClickTime,
         Mode::Normal, stoppedByTime},
        {"countdown, double-click on the time: the power-off is cancelled", From::CountdownShown, dblClickTime,
         Mode::Normal, stoppedByTime},
        {"blinking alert shown, double-click on the handle: stopped", From::BlinkingShown, dblClickHandle,
         Mode::Normal, stoppedByHandle},
        {"blinking alert hidden, double-click on the handle: stopped", From::BlinkingHidden, dblClickHandle,
         Mode::Normal, stoppedByHandle},
        {"scrolling alert, double-click on the handle: stopped", From::ScrollingShown, dblClickHandle,
         Mode::Normal, stoppedByHandle},
        {"countdown, double-click on the handle: the power-off is cancelled", From::CountdownShown,
         dblClickHandle, Mode::Normal, stoppedByHandle},
        {"shutdown-time entry, Enter: applied, the normal clock", From::ShutdownEntry,
         [](Simulator& s) { s.form().timeFieldKeyPress(s.form().shutdownFieldId(), keyEnter); }, Mode::Normal,
         [](Simulator&, Form1& f, const Before&) { EXPECT_EQ(f.shutdownTime, *TimeOfDay::fromHms(22, 0, 0)); }},
    };
    for (Build build : {Build::Masked, Build::Plain}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(buildName(build)) + ": " + row.name);
            auto sim = reach(build, row.from);
            Form1& f = sim->form();
            const Before before{f.Label1.ForeColor, f.ticksLeft, sim->platform().memory.writtenNames.size(),
                                f.Timer3.interval()};
            row.event(*sim);
            EXPECT_EQ(modeOf(f), row.next);
            EXPECT_EQ(f.Label1.ForeColor, before.colour) << "a double-click on the time undoes its first press";
            if (row.check) row.check(*sim, f, before);
        }
    }
}

void reminderPanelOpens(Simulator& s, Form1& f) {
    EXPECT_EQ(f.Height, 600);
    EXPECT_EQ(f.Picture2.Top, 300);
    EXPECT_TRUE(f.reminderField().Visible);
    waitFor(s, [&f] { return f.focus() == f.reminderFieldId(); });
}

void noReminderPanel(Form1& f) {
    EXPECT_EQ(f.Height, 300);
    EXPECT_FALSE(f.reminderField().Visible);
    EXPECT_FALSE(f.Timer2.enabled());
}

// Shown at rest at once; the next tick runs the normal clock.
void timeAtRest(Simulator& s, Form1& f) {
    EXPECT_TRUE(f.Label1.Visible);
    EXPECT_EQ(f.Label1.caption(), f.timeText());
    EXPECT_EQ(f.Label1.Left, 150);
    EXPECT_TRUE(f.Label1.autoSize());
    s.runFor(1100);
    EXPECT_EQ(f.Timer1.interval(), 1000);
    EXPECT_EQ(f.Label1.alignment, Alignment::Left);
    EXPECT_EQ(f.Label1.Left, 150);
}

void countdownCancelled(Simulator& s, Form1& f) {
    timeAtRest(s, f);
    EXPECT_TRUE(f.shutdownTime.isMidnight());
    s.runUntil(ms(18, 37, 15, 100));
    EXPECT_EQ(f.Label1.caption(), "18:37:15");
}

// Every way a double-click on the face (its first press being a click) leaves the state it
// finds. It never stores the memo and never powers off.
TEST(PanelSwitching, DoubleClickOnTheFaceFromEveryState) {
    using Check = std::function<void(Simulator&, Form1&)>;
    const std::vector<std::tuple<const char*, From, Check>> rows{
        {"normal clock: the click opens the memo, the double-click hides it and opens the reminder panel",
         From::Normal, reminderPanelOpens},
        {"memo open and edited: hidden unstored, the reminder panel opens", From::MemoOpen,
         [](Simulator& s, Form1& f) {
             EXPECT_EQ(f.Text2.Text, memo + " and eggs");
             reminderPanelOpens(s, f);
         }},
        {"reminder message open: unchanged", From::ReminderMessage,
         [](Simulator&, Form1& f) {
             EXPECT_EQ(f.Height, 870);
             EXPECT_TRUE(f.Text1.Visible);
         }},
        {"reminder panel open, a time begun: unchanged", From::ReminderPanel,
         [](Simulator& s, Form1& f) {
             EXPECT_EQ(f.Height, 600);
             EXPECT_EQ(f.Picture2.Top, 300);
             EXPECT_FALSE(f.Timer2.enabled()) << "typing stopped the blink and it stays stopped";
             EXPECT_EQ(f.reminderField().text(), s.build() == Build::Masked ? "19:  :  " : "19");
         }},
        {"scroll mode: the clock, scroll mode off for good", From::Scroll,
         [](Simulator& s, Form1& f) {
             noReminderPanel(f);
             timeAtRest(s, f);
         }},
        {"scrolling alert: the alert ends", From::ScrollingShown,
         [](Simulator& s, Form1& f) {
             noReminderPanel(f);
             timeAtRest(s, f);
         }},
        {"blinking alert shown: stopped; the panel opens in horatta, where the text stands at -25 not in horatta-t",
         From::BlinkingShown,
         [](Simulator& s, Form1& f) {
             if (s.build() == Build::Masked) reminderPanelOpens(s, f);
             else noReminderPanel(f);
             s.runFor(1100);
             EXPECT_EQ(f.Timer1.interval(), 1000);
             EXPECT_EQ(f.Label1.caption(), f.timeText());
         }},
        {"blinking alert hidden: the time at rest", From::BlinkingHidden,
         [](Simulator& s, Form1& f) {
             noReminderPanel(f);
             timeAtRest(s, f);
         }},
        {"scrolling alert hidden: the time at rest", From::ScrollingHidden, timeAtRest},
        {"countdown shown: cancelled", From::CountdownShown, countdownCancelled},
        {"countdown hidden: cancelled and the time shows", From::CountdownHidden, countdownCancelled},
        {"shutdown-time entry: applied", From::ShutdownEntry,
         [](Simulator&, Form1& f) {
             EXPECT_EQ(f.shutdownTime, *TimeOfDay::fromHms(22, 0, 0));
             EXPECT_TRUE(f.Label1.Visible);
         }},
        {"memo left open under a hidden alert: hidden, the window keeps its height", From::MemoUnderHiddenAlert,
         [](Simulator& s, Form1& f) {
             EXPECT_EQ(f.Height, 580);
             timeAtRest(s, f);
         }},
    };
    for (Build build : {Build::Masked, Build::Plain}) {
        for (const auto& [name, from, check] : rows) {
            SCOPED_TRACE(std::string(buildName(build)) + ": " + name);
            auto sim = reach(build, from);
            Form1& f = sim->form();
            dblClickFace(*sim);
            EXPECT_TRUE(f.Label3.Visible);
            EXPECT_FALSE(f.Text2.Visible);
            EXPECT_EQ(f.reminderAlertOn, 0);
            EXPECT_EQ(f.scrollOn, 0);
            EXPECT_EQ(modeOf(f), Mode::Normal);
            check(*sim, f);
            EXPECT_EQ(sim->platform().stored("text"), memo);
            EXPECT_EQ(sim->platform().powerOffCount, 0);
        }
    }
}

}  // namespace
}  // namespace horatta::testing
