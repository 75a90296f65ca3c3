#include <cmath>

#include "support/simulator.h"

namespace horatta::testing {
namespace {

const BeepCall chime{1342, 300, 0};
const std::vector<BeepCall> alertPair{{3100, 200, 0}, {3110, 200, 0}};

TEST(ClockTick, ADayShowsEverySecondOnceInOrderAndChimesEachFullHourOnce) {
    Simulator sim(Build::Plain, at(2026, 12, 5, 23, 59, 59, 200));
    std::vector<std::string> faceWhileChiming;
    sim.platform().duringBeep = [&] { faceWhileChiming.push_back(sim.form().Label1.caption()); };
    const std::string before = sim.form().Label1.ToolTipText;
    sim.runUntil(at(2026, 12, 6, 0, 0, 0, 900));  // the date tool-tip follows midnight
    EXPECT_EQ(before + "|" + sim.form().Label1.ToolTipText, " Saturday,Dec 5,2026 | Sunday,Dec 6,2026 ");
    sim.runUntil(at(2026, 12, 6, 23, 59, 59, 900));
    const auto ticks = sim.ticksOf(TimerId::Timer1);
    ASSERT_EQ(ticks.size(), 86400u);
    for (std::size_t i = 0; i < ticks.size(); ++i)
        ASSERT_TRUE(ticks[i].caption == TimeOfDay::fromSeconds(std::int64_t(i)).hms() && ticks[i].left == faceRestLeft && ticks[i].visible) << i;
    ASSERT_EQ(sim.platform().beeps.size(), 24u);
    for (std::size_t hour = 0; hour < 24; ++hour) {  // the full hour is on the face while the chime holds the tick
        const BeepCall& b = sim.platform().beeps[hour];
        const std::string full = TimeOfDay::fromSeconds(static_cast<std::int64_t>(hour) * 3600).hms();
        EXPECT_TRUE(b == chime && fromMs(b.atMs).timeOfDay().hms() == full && faceWhileChiming[hour] == full) << hour;
    }
}

TEST(ClockTick, ScrollModeMovesTheMemoWrapsItSilentlyAndShowsTheTimeForAnyOtherCaption) {
    Simulator sim(Build::Masked, at(2026, 12, 6, 10, 0, 5, 0), {{"t9", "1"}, {"t", "2"}, {"text", "Buy butter"}});
    Form1& form = sim.form();
    const float width = form.Label1.Width;  // 750 twips: one step lands exactly on the wrap
    sim.runFor(20'000);
    const auto ticks = sim.ticksOf(TimerId::Timer1);
    ASSERT_GT(ticks.size(), 300u);
    float expected = faceRestLeft;
    for (const auto& t : ticks) {
        expected = expected - 20 <= -width ? form.Picture1.Width : expected - 20;
        ASSERT_TRUE(t.left == expected && t.caption == "Buy butter" && t.beeps.empty()) << t.left;
    }
    form.Text2.Text = "Buy bread", sim.runFor(60);  // edited while it scrolls
    EXPECT_EQ(form.Label1.caption(), "10:00:25");
}

// Arms a reminder at 12:00:05 the way the reminder panel does, then puts the message in place.
Simulator& armReminder(Simulator& sim, const std::string& message) {
    sim.form().reminderField().setText("12:00:05"), sim.form().Picture2_DblClick(), sim.form().Text1.Text = message;
    return sim;
}

// 119 ticks, 57 beep pairs (two hide phases silent); it ends keeping the face's width.
TEST(ReminderAlert, ANarrowTextBlinksAndBeepsThenTheClockComesBack) {
    for (Build build : bothBuilds) {
        SCOPED_TRACE(buildName(build));
        Simulator sim(build, at(2026, 12, 6, 11, 59, 50, 300));
        armReminder(sim, "Tea time").runUntil(at(2026, 12, 6, 12, 2, 0, 500));
        const auto alert = sim.ticksOf(TimerId::Timer1, true);
        ASSERT_EQ(alert.size(), 119u);
        EXPECT_EQ(fromMs(alert.front().firedMs), at(2026, 12, 6, 12, 0, 5, 65));
        std::vector<int> silentHidePhases;
        int pairs = 0, hidden = 0;
        for (const auto& t : alert) {
            EXPECT_TRUE(t.width == 995 && (t.visible ? t.beeps.empty() : t.left == -25 && t.alignment == Alignment::Center));
            hidden += !t.visible;
            if (!t.visible && t.beeps.empty()) silentHidePhases.push_back(t.ticksLeftBefore);
            pairs += t.beeps == alertPair;
        }
        EXPECT_EQ((std::array{hidden, pairs}), (std::array{59, 57}));
        EXPECT_EQ(silentHidePhases, (std::vector<int>{52, 26}));
        const Form1& form = sim.form();
        EXPECT_TRUE(form.Label1.caption() == "12:02:00" && form.ticksLeft == ticksAtRest && form.Label1.alignment == Alignment::Left &&
                    form.Label1.Width == 995) << form.Label1.caption();
    }
}

TEST(ReminderAlert, AWideTextScrollsAndBeepsAtEachOfTenWraps) {
    Simulator sim(Build::Plain, at(2026, 12, 6, 11, 59, 50, 300));
    const std::string message = "Call the plumber about the leak";
    armReminder(sim, message).runUntil(at(2026, 12, 6, 12, 3, 0, 500));
    const auto alert = sim.ticksOf(TimerId::Timer1, true);
    const float width = sim.platform().textWidth(message);
    // From the rest position off the left edge, then nine more passes from the right edge.
    ASSERT_EQ(alert.size(), std::size_t(std::ceil((faceRestLeft + width) / 20) + 9 * std::ceil((995 + width) / 20)));
    int wraps = 0;
    for (const auto& t : alert) {
        EXPECT_TRUE(t.visible && (t.beeps.empty() || t.beeps == alertPair));
        if (!t.beeps.empty() && ++wraps < 10) { EXPECT_EQ(t.left, 995); }
    }
    EXPECT_EQ(wraps, 10);
    const Form1& f = sim.form();
    EXPECT_EQ((std::array{f.reminderAlertOn == 0, f.Label1.autoSize(), f.Label1.Left == faceRestLeft}), (std::array{true, true, true}));
    EXPECT_EQ(sim.form().Label1.caption(), sim.form().timeText());
}

// After any countdown the watch looks twice a second: a reminder stopped in the first half of
// its second stays stopped.
TEST(ReminderAlert, AStopInTheFirstHalfOfItsSecondHoldsWhenTheWatchLooksTwice) {
    for (Build build : bothBuilds) {
        SCOPED_TRACE(buildName(build));
        Simulator sim(build, at(2026, 12, 6, 11, 59, 50, 300));
        sim.form().Timer3.setInterval(500);
        armReminder(sim, "Tea time").runUntil(at(2026, 12, 6, 12, 0, 5, 200));
        ASSERT_EQ(sim.form().reminderAlertOn, 1);
        sim.form().Label3_DblClick();
        const std::size_t beeps = sim.platform().beeps.size();
        sim.runUntil(at(2026, 12, 6, 12, 0, 7, 100));
        EXPECT_TRUE(sim.form().reminderAlertOn == 0 && sim.platform().beeps.size() == beeps);
        EXPECT_EQ(sim.form().Label1.caption(), "12:00:07");
    }
}

// The driver on a virtual clock with the form's three timers; each handler notes its firing,
// then does what the case asks.
struct Rig : NativeTimer {
    std::int64_t now = 10'400;
    std::optional<std::int64_t> armed;  // the native timer, and how often it went off
    int wakeUps = 0;
    std::vector<std::pair<int, std::int64_t>> ticks;  // timer index, moment
    std::array<bool, 3> enabled{true, false, true};
    std::array<int, 3> interval{1000, 600, 1000};
    std::array<std::function<void()>, 3> during, once;  // what the handler does at every / the next firing
    TimerDriver driver;

    explicit Rig(int slackMs) : driver(*this, [this] { return now; }, slackMs, {timer(0), timer(1), timer(2)}) { driver.start(); }
    DrivenTimer timer(int i) {
        return {[this, i] { return enabled[i]; }, [this, i] { return interval[i]; }, [this, i] {
                    ticks.emplace_back(i, now);
                    if (during[i]) during[i]();
                    if (const auto next = std::exchange(once[i], nullptr)) next();
                }};
    }
    void arm(std::int64_t dueMs) override { armed = dueMs; }
    void cancel() override { armed.reset(); }
    void set(int i, bool on, int ms) { enabled[i] = on, interval[i] = ms, driver.changed(static_cast<std::size_t>(i)); }
    // The native timer goes off exactly when asked, up to `untilMs`.
    void runUntil(std::int64_t untilMs) {
        while (armed && *armed <= untilMs) now = std::max(now, *armed), armed.reset(), ++wakeUps, driver.fired();
        now = std::max(now, untilMs);
    }
};

using Ticks = std::vector<std::pair<int, std::int64_t>>;

// The rig starts at 10.400 s.
struct Case { const char* name; int slackMs; std::function<void(Rig&)> script; std::int64_t untilMs; Ticks expected; int wakeUps; };

TEST(TimerDriver, ServesDueTimersInOneWakeUpNeverEarlyAndFollowsRestarts) {
    using R = Rig&;
    const std::vector<Case> cases{
        {"due together: one wake-up", 15, [](R) {}, 12'500, {{0, 11'015}, {2, 11'015}, {0, 12'015}, {2, 12'015}}, 2},
        {"the slack is the shell's", 1, [](R) {}, 11'500, {{0, 11'001}, {2, 11'001}}, 1},
        {"an early firing (even at the moment of arming) is armed again for the rest", 15,
         [](R r) { r.driver.fired(), r.now = 11'012, r.driver.fired(); EXPECT_EQ(r.armed, 11'015); }, 11'500, {{0, 11'015}, {2, 11'015}}, 1},
        {"a clock set back ticks at once rather than waiting for the old moment", 15,
         [](R r) { r.now = 5'000, r.driver.fired(); EXPECT_EQ(r.armed, 6'015); }, 0, {{0, 5'000}, {2, 5'000}}, 0},
        {"a long handler delays the others within the wake-up, the next second is aligned", 15,
         [](R r) { r.during[0] = [&r] { r.now += 300; }; }, 12'100, {{0, 11'015}, {2, 11'315}, {0, 12'015}, {2, 12'315}}, 2},
        {"a restart from inside the handler holds; the untouched timer keeps its period", 15,
         [](R r) { r.once[0] = [&r] { r.set(0, true, 50), r.now += 20; }; }, 11'120, {{0, 11'015}, {2, 11'035}, {0, 11'065}, {0, 11'115}}, 3},
        {"a native timer going off inside a handler serves nothing twice", 15,
         [](R r) { r.once[0] = [&r] { r.driver.fired(); }; }, 11'500, {{0, 11'015}, {2, 11'015}}, 1},
        {"a handler that switches another timer on starts its period then", 15,
         [](R r) { r.once[2] = [&r] { r.set(1, true, 600); }; }, 11'700, {{0, 11'015}, {2, 11'015}, {1, 11'615}}, 2},
        {"a timer due again while another ran waits for the next wake-up", 15,
         [](R r) { r.once[2] = [&r] { r.now += 1100; }; }, 12'200, {{0, 11'015}, {2, 11'015}, {0, 12'115}}, 2},
        {"a timer stopped in a handler stays quiet", 15, [](R r) { r.during[0] = [&r] { r.driver.stop(); }; }, 13'000, {{0, 11'015}}, 1},
        {"a stopped driver wakes nothing", 15, [](R r) { r.driver.stop(); }, 13'000, {}, 0},
    };
    for (const auto& c : cases) {
        Rig rig(c.slackMs);
        c.script(rig), rig.runUntil(c.untilMs);
        EXPECT_TRUE(rig.ticks == c.expected && rig.wakeUps == c.wakeUps && (c.untilMs < 13'000 || !rig.armed))
            << c.name << ", wake-ups: " << rig.wakeUps;
    }
}

}  // namespace
}  // namespace horatta::testing
