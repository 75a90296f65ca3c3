#include "support/simulator.h"

namespace horatta::testing {
namespace {

// One scheduled power-off as a user makes it. The old time, whose last minute begins while the
// new one is typed, neither counts down nor powers off: the watch rests while the time is edited.
TEST(PowerOff, EnteredOnTheFaceCountedDownInTheLastMinuteAndArmedAgainAtTheNextStart) {
    for (Build build : bothBuilds) {
        SCOPED_TRACE(buildName(build));
        Simulator sim(build, at(2026, 12, 6, 23, 57, 10, 300), {{"time", "23:58:12"}});
        Form1& f = sim.form();
        const ControlId field = f.shutdownFieldId();
        f.Label1.setAutoSize(false), f.Label1.Width = 995, f.Label1_MouseDown(buttonLeft, 0, 0, 0);  // as a finished blinking alert leaves it
        f.Label1_DblClick();  // undoes the colour step of its first press and parks the skin
        EXPECT_EQ(modeOf(f) + std::to_string(int(f.Picture1.Picture)), "shutdown entry" + std::to_string(int(Image::None)));
        const std::int64_t opened = sim.nowMs();
        ASSERT_TRUE(sim.runUntilTrue([&] { return !f.shutdownField().Visible; }, opened + 5000));
        ASSERT_TRUE(sim.runUntilTrue([&] { return f.shutdownField().Visible; }, opened + 5000));
        EXPECT_EQ(sim.nowMs() - opened + (f.focus() != field), 1200) << "the field blinks at 600 ms, and has the keys";
        sim.type(field, "235959");
        std::string carets;  // hidden while the field blinks, shown once typing begins
        for (const auto& c : sim.platform().calls) carets += c.find("Caret") != std::string::npos ? c.substr(0, 4) : "";
        EXPECT_EQ(carets, "hideshow");
        sim.runFor(2000);
        EXPECT_TRUE(f.shutdownField().Visible && f.Timer1.enabled()) << "typing stopped the blink; no countdown on the old time";
        auto& written = sim.platform().memory.writtenNames;
        written.clear(), sim.type(field, "\r");
        EXPECT_EQ(written.at(0) + "=" + *sim.stored("TIME") + " " + written.at(1) + "=" + *sim.stored("TIME2") +
                  std::to_string(written.size()), "TIME=11:59:59 PM TIME2=112") << "the time and the colour on screen";
        const bool fits = f.Label1.autoSize() && f.Label1.Width == sim.platform().textWidth(f.Label1.caption());
        EXPECT_EQ(modeOf(f) + (fits ? ", sized to fit" : ""), build == Build::Plain ? "normal, sized to fit" : "normal");
        // the hidden field gave up the keyboard
        EXPECT_TRUE(f.Picture1.Picture == Image::Skin8 && f.shutdownEntryStarted == 0 && f.focus() != field);
        f.Label1_MouseDown(buttonLeft, 0, 0, 0);
        EXPECT_EQ(f.Label1.ForeColor, Color::rgb(0, 255, 0)) << "the colour steps on from the one committed";

        const std::int64_t minuteBefore = toMs(at(2026, 12, 6, 23, 58, 59));
        sim.runUntil(at(2026, 12, 6, 23, 59, 59, 600));
        const auto& calls = sim.platform().calls;
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "exitWindows 13 0"), 2) << "the set second is seen twice";
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "enableShutdownPrivilege"), 2) << "and each sighting asks";
        std::vector<int> beepsAt;
        std::size_t i = 0;
        for (const Tick& t : sim.ticksOf(TimerId::Timer3)) {
            ASSERT_TRUE(t.firedMs >= minuteBefore || t.caption.find("关机") == std::string::npos);
            if (t.firedMs < minuteBefore) continue;
            EXPECT_TRUE(t.firedMs == minuteBefore + 15 + 500 * std::int64_t(i) && t.caption == std::to_string(60 - int(i) / 2) + " 关机" &&
                        t.visible == (i % 2 == 1) && t.alignment == Alignment::Center) << i << " " << t.caption;
            if (!t.beeps.empty()) beepsAt.push_back(t.beeps == std::vector<BeepCall>{{1342, 300, 0}} ? t.ticksLeftBefore : 99);
            ++i;
        }
        EXPECT_EQ(beepsAt, (std::vector<int>{56, 49, 42, 35, 28, 21, 14, 7, 0, -7, -14, -21, -28, -35, -42, -49, -56}));
        EXPECT_EQ(sim.ticksOf(TimerId::Timer1).back().firedMs, minuteBefore + 15) << "the face stood still";

        // Outlived its power-off: the clock again, and the stored time arms it at the next start.
        sim.runUntil(at(2026, 12, 7, 0, 0, 1, 100));
        EXPECT_EQ(f.Label1.caption(), "00:00:01");
        EXPECT_TRUE(f.Label1.Left == faceRestLeft && f.ticksLeft == ticksAtRest && f.Label1.Visible);
        sim.restart();
        EXPECT_EQ(sim.form().shutdownTime.hms() + " " + sim.form().Text1.Text, "23:59:59 12:00:01 AM") << "the message: the time";
        EXPECT_EQ(std::vector(calls.end() - 4, calls.end()), (std::vector<std::string>{"setHotKey Form2 1626",
                  "showWindow Form2", "showWindow Form1", "makeTopmost Form1"})) << "the hot key and both windows";
        // Any key released in the hot-key window powers off at once, armed or not.
        sim.form().form2()->Form_KeyUp('Z', 6);
        EXPECT_EQ(std::vector(calls.end() - 2, calls.end()), (std::vector<std::string>{"enableShutdownPrivilege",
                  "exitWindows 13 0"}));
    }
}

// A time that passed while it was being typed is not caught up on once the field closes.
TEST(PowerOff, ATimeThatPassedWhileItWasTypedPowersNothingOff) {
    for (Build build : bothBuilds) {
        Simulator sim(build, at(2026, 12, 6, 23, 57, 10, 300));
        Form1& f = sim.form();
        f.Label1_DblClick(), sim.runFor(1500), sim.type(f.shutdownFieldId(), "235712"), sim.runFor(3000);
        sim.type(f.shutdownFieldId(), "\r"), sim.runFor(3000);
        EXPECT_EQ(f.shutdownTime.hms() + " " + std::to_string(sim.platform().powerOffCount), "23:57:12 0") << buildName(build);
    }
}

// A small step over the set second (a time server's) still powers off; a long gap (a sleep)
// never does on waking, even on the set second; a clock set back does not freeze the face. The
// face always ends on the running clock, also when a reminder fell due in the last minute.
TEST(PowerOff, OnlyTheSetSecondOrASmallStepOverItPowersOff) {
    struct Case { const char* stored; DateTime stepAt; std::int64_t stepMs, runMs; int powerOffs; const char* reminder = nullptr; };
    const Case cases[]{
        {"23:00:00", at(2026, 12, 6, 22, 59, 58, 700), 0, 3'500, 2},
        {"23:00:00", at(2026, 12, 6, 22, 59, 58, 700), 0, 86'403'500, 4},  // and again the next day
        {"23:00:00", at(2026, 12, 6, 22, 59, 58, 700), 5'000, 5'000, 1},
        {"23:00:00", at(2026, 12, 6, 22, 59, 58, 700), 60'000, 5'000, 1},
        {"23:00:00", at(2026, 12, 6, 22, 59, 58, 700), 90'000, 5'000, 0},
        {"23:00:00", at(2026, 12, 6, 21, 59, 59, 600), 3'600'300, 5'000, 0},
        {"23:00:00", at(2026, 12, 6, 22, 59, 58, 700), -600'000, 5'000, 0},
        {"11:59:30", at(2026, 12, 6, 12, 0, 0, 300), 0, 300'000, 0},
        {"00:00:00", at(2026, 12, 6, 23, 58, 30, 300), 0, 180'000, 0},
        {"23:00:00", at(2026, 12, 6, 22, 59, 58, 700), 0, 5'000, 2, "22:59:50"},
    };
    for (Build build : bothBuilds) for (const Case& c : cases) {
        SCOPED_TRACE(std::string(buildName(build)) + " " + c.stored + " step " + std::to_string(c.stepMs));
        Simulator sim(build, fromMs(toMs(c.stepAt) - 20'000), {{"time", c.stored}});
        Form1& f = sim.form();
        if (c.reminder) f.reminderTime = *parseTimeOrDate(c.reminder);
        sim.runUntil(c.stepAt), sim.stepClock(c.stepMs), sim.runFor(c.runMs);
        EXPECT_EQ(sim.platform().powerOffCount, c.powerOffs);
        EXPECT_TRUE(f.faceMode() == FaceMode::Clock && f.Label1.caption() == f.timeText() && f.Label1.Visible);
        const std::string shown = build == Build::Masked ? c.stored : sim.platform().longTimeText(*parseTimeOrDate(c.stored));
        EXPECT_EQ(f.Label2.caption(), shown) << "horatta-t shows the power-off time after every tick";
    }
}

}  // namespace
}  // namespace horatta::testing
