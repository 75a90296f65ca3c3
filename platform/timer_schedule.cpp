#include "platform/timer_schedule.h"

#include "platform/tick_alignment.h"

namespace horatta {

namespace {
int msIntoSecond(std::int64_t ms) { return static_cast<int>(((ms % 1000) + 1000) % 1000); }
}  // namespace

void TimerSchedule::restart(bool enabled, int intervalMs, std::int64_t nowMs) {
    if (inTick_) restartedInTick_ = true;
    if (!enabled) {
        due_.reset();
        return;
    }
    due_ = nowMs + nextTickDelayMs(intervalMs, msIntoSecond(nowMs), TickMoment::Started);
}

void TimerSchedule::beginTick() {
    inTick_ = true;
    restartedInTick_ = false;
}

void TimerSchedule::endTick(bool enabled, int intervalMs, std::int64_t nowMs) {
    inTick_ = false;
    if (restartedInTick_) return;
    if (!enabled) {
        due_.reset();
        return;
    }
    due_ = nowMs + nextTickDelayMs(intervalMs, msIntoSecond(nowMs), TickMoment::Fired);
}

}  // namespace horatta
