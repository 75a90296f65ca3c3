#include <gtest/gtest.h>

#include <algorithm>

#include "platform/timer_driver.h"

namespace horatta {
namespace {

// The driver on a virtual clock: three timers as the form has them (Timer1 1000 ms on,
// Timer2 600 ms off, Timer3 1000 ms on); each handler notes its firing and then does
// whatever the case asks of it.
struct Rig : NativeTimer {
    std::int64_t now = 10'400;
    std::optional<std::int64_t> armed;
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
struct Case { const char* name; int slackMs; std::function<void(Rig&)> script; Ticks expected; int wakeUps; };

TEST(TimerDriver, ServesDueTimersInOneWakeUpNeverEarlyAndFollowsRestarts) {
    const std::vector<Case> cases{
        {"timers due together share a wake-up", 15, [](Rig& r) { r.runUntil(12'500); },
         {{0, 11'015}, {2, 11'015}, {0, 12'015}, {2, 12'015}}, 2},
        {"the slack is the shell's", 1, [](Rig& r) { r.runUntil(11'500); }, {{0, 11'001}, {2, 11'001}}, 1},
        {"an early firing (even at the moment of arming) is armed again for the rest", 15,
         [](Rig& r) { r.driver.fired(), r.now = 11'012, r.driver.fired(); EXPECT_EQ(r.armed, 11'015); r.runUntil(11'500); },
         {{0, 11'015}, {2, 11'015}}, 1},
        {"a clock set back ticks at once rather than waiting for the old moment", 15,
         [](Rig& r) { r.now = 5'000, r.driver.fired(); EXPECT_EQ(r.armed, 6'015); }, {{0, 5'000}, {2, 5'000}}, 0},
        {"a long handler delays the others within the wake-up, the next second is aligned", 15,
         [](Rig& r) { r.during[0] = [&r] { r.now += 300; }, r.runUntil(12'100); },
         {{0, 11'015}, {2, 11'315}, {0, 12'015}, {2, 12'315}}, 2},
        {"a restart from inside the handler holds; the untouched timer keeps its period", 15,
         [](Rig& r) { r.once[0] = [&r] { r.set(0, true, 50), r.now += 20; }, r.runUntil(11'120); },
         {{0, 11'015}, {2, 11'035}, {0, 11'065}, {0, 11'115}}, 3},
        {"a native timer going off inside a handler serves nothing twice", 15,
         [](Rig& r) { r.once[0] = [&r] { r.driver.fired(); }, r.runUntil(11'500); },
         {{0, 11'015}, {2, 11'015}}, 1},
        {"a handler that switches another timer on starts its period then", 15,
         [](Rig& r) { r.once[2] = [&r] { r.set(1, true, 600); }, r.runUntil(11'700); },
         {{0, 11'015}, {2, 11'015}, {1, 11'615}}, 2},
        {"a timer due again while another ran waits for the next wake-up", 15,
         [](Rig& r) { r.once[2] = [&r] { r.now += 1100; }, r.runUntil(12'200); },
         {{0, 11'015}, {2, 11'015}, {0, 12'115}}, 2},
        {"a timer stopped in a handler stays quiet", 15,
         [](Rig& r) { r.during[0] = [&r] { r.driver.stop(); }, r.runUntil(13'000); EXPECT_FALSE(r.armed); },
         {{0, 11'015}}, 1},
    };
    for (const auto& c : cases) {
        Rig rig(c.slackMs);
        c.script(rig);
        EXPECT_TRUE(rig.ticks == c.expected && rig.wakeUps == c.wakeUps) << c.name << ", wake-ups: " << rig.wakeUps;
    }
}

}  // namespace
}  // namespace horatta
