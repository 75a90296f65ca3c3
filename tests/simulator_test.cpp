#include <gtest/gtest.h>

#include "support/simulator.h"

namespace horatta::testing {
namespace {

// The simulator is what the scenario tests trust about time; these pin its shell semantics.

TEST(Simulator, TimersDueTogetherFireInOrderAndALongHandlerDelaysTheOthers) {
    Simulator sim(Build::Masked, at(2026, 12, 6, 12, 59, 59, 500));
    sim.form().blinkingEntry = 5;        // a blink tick that does nothing
    sim.form().Timer2.setEnabled(true);  // 600 ms, runs free
    sim.runUntil(at(2026, 12, 6, 13, 0, 1, 20));

    std::vector<std::pair<TimerId, int>> fired;  // timer, millisecond of the second
    for (const auto& t : sim.ticks()) fired.emplace_back(t.timer, fromMs(t.firedMs).millisecond);
    // 13:00:00.015: the clock tick chimes for 300 ms, so the watch tick due at the same
    // moment runs late; the next second is aligned again.
    const std::vector<std::pair<TimerId, int>> expected{
        {TimerId::Timer1, 15}, {TimerId::Timer3, 315}, {TimerId::Timer2, 315},
        {TimerId::Timer2, 915}, {TimerId::Timer1, 15},  {TimerId::Timer3, 15},
    };
    EXPECT_EQ(fired, expected);
}

TEST(Simulator, AChangeMadeBetweenTicksRestartsThePeriod) {
    Simulator sim(Build::Masked, at(2026, 12, 6, 10, 0, 0, 400));
    EXPECT_EQ(sim.dueMs(TimerId::Timer1), toMs(at(2026, 12, 6, 10, 0, 1, 15)));
    EXPECT_FALSE(sim.dueMs(TimerId::Timer2));
    sim.form().Timer1.setInterval(50);
    EXPECT_EQ(sim.dueMs(TimerId::Timer1), toMs(at(2026, 12, 6, 10, 0, 0, 450)));
    sim.form().Timer1.setEnabled(false);
    EXPECT_FALSE(sim.dueMs(TimerId::Timer1));
}

}  // namespace
}  // namespace horatta::testing
