#include <gtest/gtest.h>

#include <functional>

#include "support/started_clock.h"

namespace horatta::testing {
namespace {

const std::string now = "18:36:16";

void expectReminderPanelOpened(Form1& f) {
    EXPECT_EQ(f.Height, 600);
    EXPECT_EQ(f.Picture2.Top, 300);
    EXPECT_EQ((f.Height - 300) / 10, 30) << "passes of 10 twips";
    EXPECT_TRUE(f.reminderField().Visible);
    EXPECT_EQ(f.blinkingEntry, 1);
    EXPECT_TRUE(f.Timer2.enabled());
}

void expectNoReminderPanel(Form1& f) {
    EXPECT_FALSE(f.reminderField().Visible);
    EXPECT_FALSE(f.Timer2.enabled());
}

void expectTimeAtRest(Form1& f) {
    EXPECT_TRUE(f.Label1.Visible);
    EXPECT_EQ(f.Label1.caption(), now);
    EXPECT_EQ(f.Label1.Left, 150);
    EXPECT_TRUE(f.Label1.autoSize());
}

struct PanelRow {
    const char* name;
    std::function<void(Form1&)> from;
    Mode next;
    std::function<void(Form1&)> check;
    std::optional<Build> onlyIn = std::nullopt;  // where the builds differ
};

// Every way a double-click on the face leaves the mode it finds.
TEST(PanelSwitching, DoubleClickOnTheFaceFromEveryMode) {
    const std::vector<PanelRow> rows{
        {"normal clock, panels closed: the reminder-time panel opens",
         [](Form1&) {}, Mode::Normal, [](Form1& f) { expectReminderPanelOpened(f); }},
        {"normal clock, reminder message open: unchanged",
         [](Form1& f) { f.Text1.Visible = true; f.Height = 870; }, Mode::Normal,
         [](Form1& f) {
             EXPECT_EQ(f.Height, 870);
             expectNoReminderPanel(f);
         }},
        {"normal clock, reminder-time panel open: unchanged",
         [](Form1& f) { f.Picture2.Top = 300; f.Height = 600; }, Mode::Normal,
         [](Form1& f) {
             EXPECT_EQ(f.Height, 600);
             EXPECT_EQ(f.Picture2.Top, 300);
             expectNoReminderPanel(f);
         }},
        {"normal clock with the memo open: the memo closes unstored, the panel opens",
         [](Form1& f) {
             f.Picture1_Click();
             f.Text2.Text = "edited but not closed";
         },
         Mode::Normal,
         [](Form1& f) {
             EXPECT_FALSE(f.Text2.Visible);
             EXPECT_EQ(f.Text2.Text, "edited but not closed");
             EXPECT_NE(f.focus(), ControlId::Text2);
             expectReminderPanelOpened(f);
         }},
        {"scroll mode: back to the clock, scroll mode off",
         [](Form1& f) { putInScrollMode(f); }, Mode::Normal,
         [](Form1& f) {
             expectTimeAtRest(f);
             EXPECT_EQ(f.scrollOn, 0);
             EXPECT_EQ(f.Timer1.interval(), 1000);
             expectNoReminderPanel(f);
         }},
        {"scrolling alert, text shown: the alert ends",
         [](Form1& f) { putInScrollingAlert(f, true); }, Mode::Normal,
         [](Form1& f) {
             expectTimeAtRest(f);
             EXPECT_EQ(f.reminderAlertOn, 0);
             EXPECT_EQ(f.Timer1.interval(), 1000);
             expectNoReminderPanel(f);
         }},
        {"blinking alert, text shown, horatta: the alert flag clears and the panel opens",
         [](Form1& f) { putInBlinkingAlert(f, true); }, Mode::Normal,
         [](Form1& f) {
             EXPECT_EQ(f.reminderAlertOn, 0);
             expectReminderPanelOpened(f);
         },
         Build::Masked},
        {"blinking alert, text shown, horatta-t: the text stands off its rest place, no panel",
         [](Form1& f) { putInBlinkingAlert(f, true); }, Mode::Normal,
         [](Form1& f) {
             EXPECT_EQ(f.reminderAlertOn, 0);
             EXPECT_EQ(f.Height, 300);
             expectNoReminderPanel(f);
         },
         Build::Plain},
        {"blinking alert, text hidden: the time shows at rest",
         [](Form1& f) { putInBlinkingAlert(f, false); }, Mode::Normal,
         [](Form1& f) {
             expectTimeAtRest(f);
             EXPECT_EQ(f.reminderAlertOn, 0);
             EXPECT_EQ(f.Timer1.interval(), 500) << "the next tick sets the clock's pace";
             expectNoReminderPanel(f);
         }},
        {"scrolling alert, text hidden: the time shows at rest",
         [](Form1& f) { putInScrollingAlert(f, false); }, Mode::Normal,
         [](Form1& f) {
             expectTimeAtRest(f);
             EXPECT_EQ(f.Timer1.interval(), 50);
             expectNoReminderPanel(f);
         }},
        {"power-off countdown, text shown: the power-off is cancelled",
         [](Form1& f) { putInCountdown(f, true); }, Mode::Normal,
         [](Form1& f) {
             expectTimeAtRest(f);
             EXPECT_TRUE(f.shutdownTime.isMidnight());
             expectNoReminderPanel(f);
         }},
        {"power-off countdown, text hidden: the power-off is cancelled and the time shows",
         [](Form1& f) { putInCountdown(f, false); }, Mode::Normal,
         [](Form1& f) {
             expectTimeAtRest(f);
             EXPECT_TRUE(f.shutdownTime.isMidnight());
         }},
    };

    for (Build build : {Build::Masked, Build::Plain}) {
        for (const auto& row : rows) {
            if (row.onlyIn && *row.onlyIn != build) continue;
            SCOPED_TRACE(std::string(buildName(build)) + ": " + row.name);
            StartedClock clock(build);
            Form1& f = clock.f();
            row.from(f);
            f.Picture1_DblClick();
            EXPECT_TRUE(f.Label3.Visible);
            EXPECT_FALSE(f.Text2.Visible);
            EXPECT_EQ(f.reminderAlertOn, 0);
            EXPECT_EQ(f.scrollOn, 0);
            EXPECT_EQ(modeOf(f), row.next);
            row.check(f);
            EXPECT_EQ(clock.platform.stored("text"), std::string(defaultMemo)) << "the memo is never stored here";
            EXPECT_EQ(clock.platform.powerOffCount, 0);
        }
    }
}

TEST(PanelSwitching, OnlyHorattaTDemandsTheTimeAtItsRestPlace) {
    for (Build build : {Build::Masked, Build::Plain}) {
        SCOPED_TRACE(buildName(build));
        StartedClock clock(build);
        Form1& f = clock.f();
        f.Label1.Left = 151;
        f.Picture1_DblClick();
        EXPECT_EQ(f.reminderField().Visible, build == Build::Masked);
        EXPECT_EQ(f.Height, build == Build::Masked ? 600 : 300);
    }
}

TEST(PanelSwitching, TheReminderFieldIsEachBuildsOwn) {
    StartedClock plain(Build::Plain);
    plain.f().Picture1_DblClick();
    EXPECT_EQ(plain.f().reminderFieldId(), ControlId::Text4);
    EXPECT_TRUE(plain.f().reminderField().Visible);
    EXPECT_FALSE(plain.f().shutdownField().Visible);
}

TEST(PanelSwitching, ASecondDoubleClickOnTheOpenPanelChangesNothing) {
    StartedClock clock;
    Form1& f = clock.f();
    f.Picture1_DblClick();
    f.Timer2_Timer();
    f.Timer2_Timer();
    clock.typeReminder("19");
    f.Picture1_DblClick();
    EXPECT_EQ(f.Height, 600);
    EXPECT_EQ(f.Picture2.Top, 300);
    EXPECT_FALSE(f.Timer2.enabled()) << "typing stopped the blink and the double-click does not restart it";
    EXPECT_EQ(f.reminderField().text(), "19:  :  ");
}

// A click followed by a double-click on the resting face, as the user makes it: the
// click opens the memo, the double-click closes it unsaved and opens the reminder panel.
TEST(PanelSwitching, TheGestureOfADoubleClickOnTheFace) {
    StartedClock clock;
    Form1& f = clock.f();
    f.Picture1_Click();
    ASSERT_TRUE(f.Text2.Visible);
    ASSERT_EQ(f.Height, 580);
    f.Picture1_DblClick();
    EXPECT_FALSE(f.Text2.Visible);
    expectReminderPanelOpened(f);
    f.Timer2_Timer();  // the field blinks off...
    f.Timer2_Timer();  // ...and back, taking the keyboard
    EXPECT_EQ(f.focus(), ControlId::MaskEdBox2);
}

TEST(PanelSwitching, AMemoLeftOpenUnderAnAlertKeepsTheWindowHeight) {
    StartedClock clock;
    Form1& f = clock.f();
    f.Picture1_Click();
    putInBlinkingAlert(f, false);
    f.Picture1_DblClick();
    EXPECT_FALSE(f.Text2.Visible);
    expectTimeAtRest(f);
    EXPECT_EQ(f.Height, 580);
}

}  // namespace
}  // namespace horatta::testing
