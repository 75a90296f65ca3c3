#include <gtest/gtest.h>

#include "support/simulator.h"

namespace horatta::testing {
namespace {

std::string countdownCaption(int seconds) { return std::to_string(seconds) + " 关机"; }

bool isCountdownCaption(const std::string& caption) { return caption.find("关机") != std::string::npos; }

std::vector<std::string> powerCalls(const FakePlatform& platform) {
    std::vector<std::string> out;
    for (const auto& c : platform.calls)
        if (c == "enableShutdownPrivilege" || c.rfind("exitWindows", 0) == 0) out.push_back(c);
    return out;
}

std::string buildName(const ::testing::TestParamInfo<Build>& info) {
    return info.param == Build::Masked ? "horatta" : "horatta_t";
}

class Countdown : public ::testing::TestWithParam<Build> {};

TEST_P(Countdown, TheLastMinuteCountsDownAndPowersOffAtTheSetSecond) {
    Simulator sim(GetParam(), at(2026, 12, 6, 22, 58, 30, 400), {{"time", "23:00:00"}});
    const std::int64_t minuteBefore = toMs(at(2026, 12, 6, 22, 59, 0));

    sim.runUntil(at(2026, 12, 6, 23, 0, 0, 0));
    EXPECT_EQ(sim.platform().powerOffCount, 0);
    sim.runUntil(at(2026, 12, 6, 23, 0, 0, 100));
    EXPECT_EQ(sim.platform().powerOffCount, 1);
    sim.runUntil(at(2026, 12, 6, 23, 0, 1, 0));
    // At 500 ms the set second is seen twice, and each sighting asks again.
    EXPECT_EQ(powerCalls(sim.platform()), (std::vector<std::string>{"enableShutdownPrivilege", "exitWindows 13 0",
                                                                   "enableShutdownPrivilege", "exitWindows 13 0"}));

    std::vector<Tick> countdown;
    for (const auto& t : sim.ticksOf(TimerId::Timer3)) {
        if (t.firedMs >= minuteBefore) countdown.push_back(t);
        else EXPECT_FALSE(isCountdownCaption(t.caption));
    }
    ASSERT_EQ(countdown.size(), 122u);
    std::vector<int> beepsAt;
    for (std::size_t i = 0; i < countdown.size(); ++i) {
        const Tick& t = countdown[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(t.firedMs, minuteBefore + 15 + 500 * static_cast<std::int64_t>(i));
        EXPECT_EQ(t.caption, countdownCaption(60 - static_cast<int>(i) / 2));
        EXPECT_EQ(t.visible, i % 2 == 1);
        EXPECT_EQ(t.alignment, Alignment::Center);
        EXPECT_EQ(t.ticksLeft, t.ticksLeftBefore - 1);
        if (!t.beeps.empty()) {
            EXPECT_EQ(t.beeps, (std::vector<BeepCall>{{1342, 300, 0}}));
            beepsAt.push_back(t.ticksLeftBefore);
        }
    }
    EXPECT_EQ(beepsAt, (std::vector<int>{56, 49, 42, 35, 28, 21, 14, 7, 0, -7, -14, -21, -28, -35, -42, -49, -56}));

    // The face stood still from the first countdown tick on.
    EXPECT_FALSE(sim.form().Timer1.enabled());
    EXPECT_EQ(sim.ticksOf(TimerId::Timer1).back().firedMs, minuteBefore + 15);
    EXPECT_EQ(sim.form().Timer3.interval(), 500);
}

TEST_P(Countdown, APowerOffThatDoesNotHappenHoldsTheFaceUntilLabel3Cancels) {
    Simulator sim(GetParam(), at(2026, 12, 6, 22, 59, 50, 0), {{"time", "23:00:00"}});
    sim.runUntil(at(2026, 12, 6, 23, 0, 30, 0));
    Form1& form = sim.form();
    EXPECT_EQ(sim.platform().powerOffCount, 2);
    EXPECT_EQ(form.Label1.caption(), countdownCaption(0));
    EXPECT_FALSE(form.Timer1.enabled());
    const bool shown = form.Label1.Visible;
    sim.runFor(10'000);
    EXPECT_EQ(form.Label1.caption(), countdownCaption(0));
    EXPECT_EQ(form.Label1.Visible, shown);

    const auto writesBefore = sim.platform().memory.writtenNames;
    form.Label3_DblClick();
    EXPECT_FALSE(sim.ended());
    EXPECT_EQ(sim.platform().memory.writtenNames, writesBefore);
    EXPECT_TRUE(form.Timer1.enabled());
    EXPECT_EQ(form.Timer1.interval(), 1000);
    EXPECT_TRUE(form.shutdownTime.isMidnight());
    sim.runFor(500);
    EXPECT_EQ(form.Label1.caption(), form.timeText());
    EXPECT_TRUE(form.Label1.Visible);

    // Cancelled for the rest of this run, not for the next one.
    sim.runUntil(at(2026, 12, 7, 23, 0, 1, 0));
    EXPECT_EQ(sim.platform().powerOffCount, 2);
    EXPECT_EQ(sim.platform().stored("time"), "23:00:00");
    sim.restart();
    EXPECT_EQ(sim.form().shutdownTime, *TimeOfDay::fromHms(23, 0, 0));
}

TEST_P(Countdown, NothingHappensForATimePastTodayOrForMidnight) {
    struct Case {
        const char* stored;
        DateTime from, to;
    };
    const Case cases[]{
        {"11:59:30", at(2026, 12, 6, 12, 0, 0, 300), at(2026, 12, 6, 12, 5, 0)},
        {"00:00:00", at(2026, 12, 6, 23, 58, 30, 300), at(2026, 12, 7, 0, 1, 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        Simulator sim(GetParam(), c.from, {{"time", c.stored}});
        sim.runUntil(c.to);
        for (const auto& t : sim.ticks()) ASSERT_FALSE(isCountdownCaption(t.caption));
        EXPECT_EQ(sim.platform().powerOffCount, 0);
        EXPECT_TRUE(sim.form().Timer1.enabled());
        EXPECT_EQ(sim.form().Timer3.interval(), 1000);
    }
}

TEST_P(Countdown, ATimeJustAfterMidnightCountsDownOnlyFromMidnight) {
    Simulator sim(GetParam(), at(2026, 12, 6, 23, 59, 50, 0), {{"time", "00:00:30"}});
    sim.runUntil(at(2026, 12, 7, 0, 0, 31, 0));
    std::vector<Tick> countdown;
    for (const auto& t : sim.ticksOf(TimerId::Timer3))
        if (isCountdownCaption(t.caption)) countdown.push_back(t);
    ASSERT_FALSE(countdown.empty());
    // The watch tick waits for the midnight chime of the clock tick due at the same moment.
    EXPECT_EQ(fromMs(countdown.front().firedMs), at(2026, 12, 7, 0, 0, 0, 315));
    EXPECT_EQ(countdown.front().caption, countdownCaption(30));
    EXPECT_EQ(sim.platform().powerOffCount, 2);
}

TEST_P(Countdown, InScrollModeTheCountdownStandsAtTheRestPosition) {
    Simulator sim(GetParam(), at(2026, 12, 6, 22, 58, 59, 500), {{"time", "23:00:00"}, {"t9", "1"}});
    sim.runUntil(at(2026, 12, 6, 22, 59, 5, 0));
    EXPECT_EQ(sim.form().Label1.Left, 150);
    EXPECT_EQ(sim.form().Label1.alignment, Alignment::Left);
    EXPECT_EQ(sim.form().Label1.caption(), countdownCaption(56));  // last watch tick at 22:59:04.515
}

INSTANTIATE_TEST_SUITE_P(Builds, Countdown, ::testing::Values(Build::Masked, Build::Plain), buildName);

// --- applying the shutdown entry

// The state the double-click on the time leaves while the shutdown-time entry is open.
void openShutdownEntry(Form1& form, std::string_view text) {
    form.holdColorAndSkin();
    form.Label1.Visible = false;
    form.Label3.Visible = false;
    form.shutdownField().Visible = true;
    form.shutdownField().setText(text);
    form.Timer2.setEnabled(true);
    form.Timer3.setEnabled(false);
}

class ApplyShutdownEntry : public ::testing::TestWithParam<Build> {};

TEST_P(ApplyShutdownEntry, StoresTheLongTimeRestoresTheFaceAndArmsItAgainAtTheNextStart) {
    Simulator sim(GetParam(), at(2026, 12, 6, 18, 0, 0, 500), {{"time3", "5"}});
    Form1& form = sim.form();
    form.Label1_MouseDown(buttonLeft, 0, 0, 0);  // first press of the double-click: green
    form.undoColorStep();
    const Color before = form.Label1.ForeColor;
    openShutdownEntry(form, "21:30:00");
    form.Label1.setAutoSize(false);
    form.Label1.setCaption("time");
    sim.platform().memory.writtenNames.clear();

    form.ApplyShutdownEntry();

    EXPECT_EQ(form.shutdownTime, *TimeOfDay::fromHms(21, 30, 0));
    EXPECT_EQ(form.Label2.caption(), "9:30:00 PM");
    EXPECT_EQ(sim.platform().memory.writtenNames, (std::vector<std::string>{"TIME", "TIME2"}));
    EXPECT_EQ(sim.platform().stored("time"), "9:30:00 PM");
    EXPECT_EQ(sim.platform().stored("time2"), "11");  // red, the colour on screen
    EXPECT_EQ(form.colorIndex, 0);
    EXPECT_EQ(form.Label1.ForeColor, before);
    EXPECT_EQ(form.Picture1.Picture, Image::Skin9);
    EXPECT_FALSE(form.Timer2.enabled());
    EXPECT_TRUE(form.Timer3.enabled());
    EXPECT_FALSE(form.shutdownField().Visible);
    EXPECT_TRUE(form.Label1.Visible);
    EXPECT_TRUE(form.Label3.Visible);
    EXPECT_EQ(form.shutdownEntryStarted, 0);
    EXPECT_EQ(form.shutdownEntryDone, 0);
    EXPECT_EQ(form.Label1.autoSize(), GetParam() == Build::Plain);

    sim.restart();
    EXPECT_EQ(sim.form().shutdownTime, *TimeOfDay::fromHms(21, 30, 0));
    EXPECT_EQ(sim.form().shutdownField().text(), "21:30:00");
}

TEST_P(ApplyShutdownEntry, MidnightDisarmsAlsoForLaterStarts) {
    Simulator sim(GetParam(), at(2026, 12, 6, 18, 0, 0, 500), {{"time", "21:30:00"}});
    openShutdownEntry(sim.form(), "00:00:00");
    sim.form().ApplyShutdownEntry();
    EXPECT_TRUE(sim.form().shutdownTime.isMidnight());
    sim.restart();
    EXPECT_TRUE(sim.form().shutdownTime.isMidnight());
}

TEST_P(ApplyShutdownEntry, AnEntryThatIsNoTimeIsNotAppliedAndTheFieldKeepsTheFocus) {
    const std::vector<std::string> texts = GetParam() == Build::Masked
                                               ? std::vector<std::string>{"12:3 :  ", "  :  :  ", "29:00:00", "12:60:00"}
                                               : std::vector<std::string>{"12:5x:00", "", "29:00:00", "12:"};
    for (const auto& text : texts) {
        SCOPED_TRACE(text);
        Simulator sim(GetParam(), at(2026, 12, 6, 18, 0, 0, 500), {{"time", "21:30:00"}});
        Form1& form = sim.form();
        openShutdownEntry(form, text);
        sim.platform().memory.writtenNames.clear();
        const std::int16_t colorIndex = form.colorIndex;

        form.ApplyShutdownEntry();

        EXPECT_EQ(form.focus(), form.shutdownFieldId());
        EXPECT_EQ(sim.platform().callsStartingWith("setFocus").back(),
                  std::string("setFocus ") + controlName(form.shutdownFieldId()));
        EXPECT_EQ(form.shutdownTime, *TimeOfDay::fromHms(21, 30, 0));
        EXPECT_TRUE(sim.platform().memory.writtenNames.empty());
        EXPECT_EQ(form.colorIndex, colorIndex);
        EXPECT_TRUE(form.shutdownField().Visible);
        EXPECT_TRUE(form.Timer2.enabled());
        EXPECT_FALSE(form.Label1.Visible);
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, ApplyShutdownEntry, ::testing::Values(Build::Masked, Build::Plain), buildName);

// --- applying the reminder entry

class ReminderApply : public ::testing::TestWithParam<Build> {};

TEST_P(ReminderApply, EnterSlidesTheMessageOpenAndFocusesIt) {
    Simulator sim(GetParam(), at(2026, 12, 6, 18, 0, 0, 500));
    Form1& form = sim.form();
    form.reminderField().Visible = true;
    form.reminderField().setText("19:15:00");
    form.reminderEntryStarted = 1;
    form.Label1.Visible = false;
    form.Timer2.setEnabled(true);
    form.Timer3.setEnabled(false);

    form.applyReminderEntryByEnter();

    EXPECT_EQ(form.reminderTime, *TimeOfDay::fromHms(19, 15, 0));
    EXPECT_EQ(form.reminderEntryStarted, 0);
    EXPECT_EQ(form.Text1.Text, "19:15:00");  // it held the start-up time, a time
    EXPECT_TRUE(form.Text1.Visible);
    EXPECT_EQ(form.Text1.Top, 580);
    EXPECT_EQ(form.Height, 870);
    EXPECT_FALSE(form.Timer2.enabled());
    EXPECT_TRUE(form.Timer3.enabled());
    EXPECT_TRUE(form.Label1.Visible);
    EXPECT_EQ(form.focus(), ControlId::Text1);
    EXPECT_TRUE(form.reminderField().Visible);
}

TEST_P(ReminderApply, TheMessageTakesTheTimeOnlyWhenItReadsAsATime) {
    struct Case {
        const char* message;
        bool replaced;
    };
    const bool plain = GetParam() == Build::Plain;
    const Case cases[]{{"6:00:00 PM", true}, {"18:00", true}, {"2026-12-06", true}, {"Call Anna", false},
                       {"", plain}};
    for (bool byEnter : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.message) + (byEnter ? " by Enter" : " by double-click"));
            Simulator sim(GetParam(), at(2026, 12, 6, 18, 0, 0, 500));
            Form1& form = sim.form();
            form.Text1.Text = c.message;
            form.reminderField().setText("19:15:00");
            if (byEnter) form.applyReminderEntryByEnter();
            else form.Picture2_DblClick();
            EXPECT_EQ(form.Text1.Text, c.replaced ? "19:15:00" : c.message);
        }
    }
}

TEST_P(ReminderApply, TheDoubleClickKeepsTheStartedFlagAndDoesNotSlideAgain) {
    Simulator sim(GetParam(), at(2026, 12, 6, 18, 0, 0, 500));
    Form1& form = sim.form();
    form.reminderField().setText("19:15:00");
    form.reminderEntryStarted = 1;
    form.Picture2_DblClick();
    EXPECT_EQ(form.reminderEntryStarted, 1);
    EXPECT_EQ(form.Text1.Top, 580);
    EXPECT_EQ(form.Height, 870);
    EXPECT_TRUE(form.reminderField().Visible);
    EXPECT_EQ(form.focus(), ControlId::Text1);

    form.Text1.Top = 400;  // already open: left where it is
    form.Height = 700;
    form.reminderField().setText("19:20:00");
    form.Picture2_DblClick();
    EXPECT_EQ(form.reminderTime, *TimeOfDay::fromHms(19, 20, 0));
    EXPECT_EQ(form.Text1.Top, 400);
    EXPECT_EQ(form.Height, 700);
}

TEST_P(ReminderApply, AReminderTimeThatIsNoTimeIsNotApplied) {
    const std::vector<std::string> texts = GetParam() == Build::Masked
                                               ? std::vector<std::string>{"19:1 :00", "  :  :  ", "24:00:00"}
                                               : std::vector<std::string>{"19:1x:00", "", "24:00:00"};
    for (bool byEnter : {true, false}) {
        for (const auto& text : texts) {
            SCOPED_TRACE(text + (byEnter ? " by Enter" : " by double-click"));
            Simulator sim(GetParam(), at(2026, 12, 6, 18, 0, 0, 500));
            Form1& form = sim.form();
            form.reminderEntryStarted = 1;
            form.Timer3.setEnabled(false);
            form.reminderField().setText(text);
            const std::string message = form.Text1.Text;
            if (byEnter) form.applyReminderEntryByEnter();
            else form.Picture2_DblClick();
            EXPECT_TRUE(form.reminderTime.isMidnight());
            EXPECT_EQ(form.reminderEntryStarted, 1);
            EXPECT_FALSE(form.Text1.Visible);
            EXPECT_EQ(form.Text1.Text, message);
            EXPECT_FALSE(form.Timer3.enabled());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, ReminderApply, ::testing::Values(Build::Masked, Build::Plain), buildName);

}  // namespace
}  // namespace horatta::testing
