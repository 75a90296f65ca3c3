#include <gtest/gtest.h>

#include <functional>

#include "support/started_clock.h"

namespace horatta::testing {
namespace {

struct ModeRow {
    const char* name;
    std::function<void(Form1&)> from;
    std::function<void(Form1&)> event;
    Mode next;
    std::function<void(Form1&)> check;
};

const std::string now = "18:36:16";  // the fake platform's time of day

// Every transition of the face that a double-click on the time or a press on the handle
// makes, in both builds.
TEST(DisplayModes, TransitionsByDoubleClickAndScrollToggle) {
    const std::vector<ModeRow> rows{
        {"normal clock, double-click on the time, memo closed: the entry opens",
         [](Form1&) {}, [](Form1& f) { f.Label1_DblClick(); }, Mode::ShutdownEntry,
         [](Form1& f) {
             EXPECT_TRUE(f.shutdownField().Visible);
             EXPECT_FALSE(f.Label1.Visible);
             EXPECT_FALSE(f.Label3.Visible);
             EXPECT_EQ(f.blinkingEntry, 0);
             EXPECT_TRUE(f.Timer2.enabled());
             EXPECT_EQ(f.Picture, Image::Skin8) << "the skin is parked";
             EXPECT_EQ(f.Picture1.Picture, Image::None) << "the entry shows on the plain background";
             EXPECT_EQ(f.Timer1.interval(), 1000) << "the clock keeps ticking underneath";
         }},
        {"normal clock, double-click on the time, memo open: only the tidying",
         [](Form1& f) { f.Text2.Visible = true; }, [](Form1& f) { f.Label1_DblClick(); }, Mode::Normal,
         [](Form1& f) {
             EXPECT_FALSE(f.shutdownField().Visible);
             EXPECT_TRUE(f.Label1.Visible);
             EXPECT_FALSE(f.Timer2.enabled());
             EXPECT_EQ(f.colorIndex, 0) << "no colour hold without an entry";
         }},
        {"normal clock, right press on the handle: the memo scrolls",
         [](Form1& f) { f.Text2.Text = "Buy milk"; }, [](Form1& f) { f.scrollToggle(buttonRight); }, Mode::Scroll,
         [](Form1& f) { EXPECT_EQ(f.Label1.caption(), "Buy milk"); }},
        {"normal clock, middle press with an empty memo: the time scrolls",
         [](Form1& f) { f.Text2.Text.clear(); }, [](Form1& f) { f.scrollToggle(buttonMiddle); }, Mode::Scroll,
         [](Form1& f) { EXPECT_EQ(f.Label1.caption(), now); }},
        {"normal clock, left press on the handle: nothing",
         [](Form1&) {}, [](Form1& f) { f.scrollToggle(buttonLeft); }, Mode::Normal,
         [](Form1& f) { EXPECT_EQ(f.scrollOn, 0); }},
        {"scroll mode, double-click while the memo scrolls: the time scrolls from the rest place",
         [](Form1& f) { putInScrollMode(f); }, [](Form1& f) { f.Label1_DblClick(); }, Mode::Scroll,
         [](Form1& f) {
             EXPECT_EQ(f.Label1.caption(), now);
             EXPECT_EQ(f.Label1.Left, 150);
             EXPECT_EQ(f.Timer1.interval(), 1000) << "the next tick sets the scroll pace again";
         }},
        {"scroll mode, double-click while the time scrolls: the memo comes back",
         [](Form1& f) { putInScrollMode(f); f.Label1.setCaption("18:36:15"); },
         [](Form1& f) { f.Label1_DblClick(); }, Mode::Scroll,
         [](Form1& f) {
             EXPECT_EQ(f.Label1.caption(), "Buy milk");
             EXPECT_EQ(f.Label1.Left, 150);
         }},
        {"scroll mode with an empty memo, double-click: the time keeps scrolling",
         [](Form1& f) { putInScrollMode(f, ""); f.Label1.setCaption("18:36:15"); },
         [](Form1& f) { f.Label1_DblClick(); }, Mode::Scroll,
         [](Form1& f) { EXPECT_EQ(f.Label1.caption(), "18:36:15") << "the caption is left for the tick"; }},
        {"scroll mode, right press on the handle: back to the clock",
         [](Form1& f) { putInScrollMode(f); }, [](Form1& f) { f.scrollToggle(buttonRight); }, Mode::Normal,
         [](Form1&) {}},
        {"blinking alert while shown, double-click: the alert stops at once",
         [](Form1& f) { putInBlinkingAlert(f, true); }, [](Form1& f) { f.Label1_DblClick(); }, Mode::Normal,
         [](Form1& f) {
             EXPECT_EQ(f.reminderAlertOn, 0);
             EXPECT_EQ(f.Label1.caption(), now);
             EXPECT_TRUE(f.Label1.autoSize());
             EXPECT_EQ(f.Label1.alignment, Alignment::Left);
             EXPECT_EQ(f.Label1.Left, 150);
             EXPECT_EQ(f.Timer1.interval(), 1000);
         }},
        {"scrolling alert, double-click: the alert stops",
         [](Form1& f) { putInScrollingAlert(f, true); }, [](Form1& f) { f.Label1_DblClick(); }, Mode::Normal,
         [](Form1& f) {
             EXPECT_EQ(f.reminderAlertOn, 0);
             EXPECT_EQ(f.Label1.caption(), now);
             EXPECT_EQ(f.Label1.Left, 150);
             EXPECT_EQ(f.Timer1.interval(), 1000);
         }},
        {"power-off countdown, double-click: the power-off is cancelled",
         [](Form1& f) { putInCountdown(f, true); }, [](Form1& f) { f.Label1_DblClick(); }, Mode::Normal,
         [](Form1& f) {
             EXPECT_TRUE(f.shutdownTime.isMidnight());
             EXPECT_TRUE(f.Timer1.enabled());
             EXPECT_EQ(f.Label1.caption(), now);
             EXPECT_EQ(f.Label1.alignment, Alignment::Left);
             EXPECT_EQ(f.Label1.Left, 150);
             EXPECT_TRUE(f.Label1.autoSize());
             EXPECT_EQ(f.Timer3.interval(), 500) << "the watch keeps its countdown pace";
         }},
    };

    for (Build build : {Build::Masked, Build::Plain}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(buildName(build)) + ": " + row.name);
            StartedClock clock(build);
            Form1& f = clock.f();
            row.from(f);
            row.event(f);
            EXPECT_EQ(modeOf(f), row.next);
            row.check(f);
            EXPECT_TRUE(clock.platform.callsStartingWith("exitWindows").empty());
            EXPECT_TRUE(clock.platform.beeps.empty());
        }
    }
}

TEST(DisplayModes, DoubleClickOnTheTimeAlwaysUndoesTheColourStepAndRestsTheCounter) {
    using Setup = std::function<void(Form1&)>;
    const std::vector<std::pair<const char*, Setup>> modes{
        {"normal clock", [](Form1&) {}},
        {"memo open", [](Form1& f) { f.Text2.Visible = true; }},
        {"scroll mode", [](Form1& f) { putInScrollMode(f); }},
        {"blinking alert", [](Form1& f) { putInBlinkingAlert(f, true); }},
        {"countdown", [](Form1& f) { putInCountdown(f, true); }},
    };
    for (const auto& [name, setup] : modes) {
        SCOPED_TRACE(name);
        StartedClock clock;
        Form1& f = clock.f();
        setup(f);
        f.ticksLeft = 3;
        f.Label3.ForeColor = Color::rgb(0, 255, 255);  // the colour before the first press
        f.Label1.ForeColor = Color::rgb(0, 0, 255);    // what the first press stepped to
        f.Label1.alignment = Alignment::Center;
        f.Label1_DblClick();
        EXPECT_EQ(f.Label1.ForeColor, Color::rgb(0, 255, 255));
        EXPECT_EQ(f.ticksLeft, ticksAtRest);
        EXPECT_EQ(f.Label1.alignment, Alignment::Left);
    }
}

TEST(DisplayModes, OpeningTheEntryMovesTheColourIndexBackToTheColourOnScreen) {
    const std::vector<std::pair<std::int16_t, std::int16_t>> cases{{5, 3}, {0, 10}, {1, 11}};
    for (auto [before, after] : cases) {
        StartedClock clock;
        clock.f().colorIndex = before;
        clock.f().Label1_DblClick();
        EXPECT_EQ(clock.f().colorIndex, after) << "from " << before;
    }
}

TEST(DisplayModes, TheEntryOpensInEachBuildsOwnField) {
    StartedClock masked(Build::Masked);
    masked.f().Label1_DblClick();
    EXPECT_EQ(masked.f().shutdownFieldId(), ControlId::MaskEdBox1);
    EXPECT_TRUE(masked.f().shutdownField().Visible);

    StartedClock plain(Build::Plain);
    plain.f().Label1_DblClick();
    EXPECT_EQ(plain.f().shutdownFieldId(), ControlId::Text3);
    EXPECT_TRUE(plain.f().shutdownField().Visible);
    EXPECT_FALSE(plain.f().reminderField().Visible);
}

TEST(DisplayModes, ScrollToggleCountsAnyNonZeroFlagAsOn) {
    StartedClock clock;
    Form1& f = clock.f();
    f.scrollOn = 2;  // a stored "t9" of "2"
    EXPECT_EQ(modeOf(f), Mode::Normal) << "the tick only scrolls for 1";
    f.scrollToggle(buttonRight);
    EXPECT_EQ(f.scrollOn, 0);
    f.scrollToggle(buttonRight);
    EXPECT_EQ(f.scrollOn, 1);
    EXPECT_EQ(modeOf(f), Mode::Scroll);
}

TEST(DisplayModes, ScrollToggleDuringAnAlertLeavesTheAlertRunning) {
    StartedClock clock;
    Form1& f = clock.f();
    putInBlinkingAlert(f, true);
    f.scrollToggle(buttonRight);
    EXPECT_EQ(f.scrollOn, 1);
    EXPECT_EQ(f.reminderAlertOn, 1);
    EXPECT_EQ(modeOf(f), Mode::BlinkingAlert);
}

}  // namespace
}  // namespace horatta::testing
