#pragma once

#include <cstdint>
#include <optional>

namespace horatta {

// When one model timer fires next. Every shell and the test simulator keep one per timer so
// that they all share the same rules: a change of Enabled or Interval restarts the period,
// 1000 ms and 500 ms periods are aligned to the wall clock, and a tick whose handler did
// not touch the timer is followed by the next period.
class TimerSchedule {
public:
    // The timer's settings changed (or it is being set up): restart its period from now.
    void restart(bool enabled, int intervalMs, std::int64_t nowMs);
    // The timer is due and its handler is about to run.
    void beginTick();
    // The handler has returned.
    void endTick(bool enabled, int intervalMs, std::int64_t nowMs);

    // Wall-clock milliseconds of the next firing; nothing while the timer is disabled.
    std::optional<std::int64_t> dueMs() const { return due_; }

private:
    std::optional<std::int64_t> due_;
    bool inTick_ = false;
    bool restartedInTick_ = false;
};

}  // namespace horatta
