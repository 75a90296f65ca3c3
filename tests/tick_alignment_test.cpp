#include <gtest/gtest.h>

#include "platform/tick_alignment.h"

namespace horatta {
namespace {

// Follows a timer that fires exactly when asked, for a number of ticks, and returns the
// wall-clock milliseconds of each firing.
std::vector<long> fireTimes(int interval, long startMs, int ticks, int handlerMs = 0) {
    std::vector<long> out;
    long now = startMs + nextTickDelayMs(interval, static_cast<int>(startMs % 1000), TickMoment::Started);
    for (int i = 0; i < ticks; ++i) {
        out.push_back(now);
        long after = now + handlerMs;
        now = after + nextTickDelayMs(interval, static_cast<int>(after % 1000), TickMoment::Fired);
    }
    return out;
}

TEST(TickAlignment, SecondTicksLandJustAfterEverySecondWithoutSkipping) {
    for (long start : {0L, 3L, 14L, 15L, 16L, 499L, 987L, 999L}) {
        for (int handler : {0, 1, 300, 700, 984}) {
            auto times = fireTimes(1000, 10'000 + start, 50, handler);
            for (std::size_t i = 0; i < times.size(); ++i) {
                EXPECT_EQ(times[i] % 1000, tickAlignmentSlackMs) << "start " << start << " handler " << handler;
                if (i > 0) {
                    EXPECT_EQ(times[i] / 1000, times[i - 1] / 1000 + 1) << "a second was skipped or repeated";
                }
            }
        }
    }
}

TEST(TickAlignment, HalfSecondTicksSeeEachHalfOnce) {
    auto times = fireTimes(500, 20'250, 20, 300);
    for (std::size_t i = 1; i < times.size(); ++i) {
        EXPECT_EQ(times[i] - times[i - 1], 500);
        EXPECT_EQ(times[i] % 500, tickAlignmentSlackMs);
    }
}

TEST(TickAlignment, StartingInsideTheSlackStillCatchesTheCurrentSecond) {
    EXPECT_EQ(nextTickDelayMs(1000, 5, TickMoment::Started), tickAlignmentSlackMs - 5);
    // A timer that fired a little early must not fire again on the same second.
    EXPECT_EQ(nextTickDelayMs(1000, 5, TickMoment::Fired), 1000 - 5 + tickAlignmentSlackMs);
}

TEST(TickAlignment, OtherIntervalsRunFree) {
    EXPECT_EQ(nextTickDelayMs(50, 123, TickMoment::Fired), 50);
    EXPECT_EQ(nextTickDelayMs(600, 999, TickMoment::Started), 600);
    EXPECT_GT(nextTickDelayMs(0, 0, TickMoment::Started), 0);
}

}  // namespace
}  // namespace horatta

#include "platform/timer_schedule.h"

namespace horatta {
namespace {

TEST(TimerSchedule, AHandlerThatChangesTheTimerKeepsTheRestartItCaused) {
    TimerSchedule s;
    s.restart(true, 1000, 5'200);
    ASSERT_EQ(s.dueMs(), 6'000 + tickAlignmentSlackMs);

    s.beginTick();
    s.restart(true, 50, 6'100);  // the handler switched to a 50 ms pace
    s.endTick(true, 50, 6'120);
    EXPECT_EQ(s.dueMs(), 6'150);

    s.beginTick();
    s.endTick(true, 50, 6'160);  // untouched: the next period follows the firing
    EXPECT_EQ(s.dueMs(), 6'210);

    s.beginTick();
    s.restart(false, 50, 6'210);
    s.endTick(false, 50, 6'210);
    EXPECT_FALSE(s.dueMs());
}

}  // namespace
}  // namespace horatta
