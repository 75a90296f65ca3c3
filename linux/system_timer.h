#pragma once

#include <QSocketNotifier>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/timer_driver.h"

namespace horatta::shell {

// The native timer the model's timers run on: a timer of the kernel's wall clock with an
// absolute moment, watched by the event loop. It goes off at that wall-clock moment to the
// microsecond, never before it, and also when somebody sets the clock (the driver then
// aligns the ticks again).
class SystemTimer : public NativeTimer {
public:
    // The kernel keeps the wall-clock moment itself, so a second tick needs no slack.
    static constexpr int alignmentSlackMs = 0;

    SystemTimer();
    ~SystemTimer() override;
    SystemTimer(const SystemTimer&) = delete;
    SystemTimer& operator=(const SystemTimer&) = delete;

    // Runs when the timer goes off.
    void onFired(std::function<void()> fired) { fired_ = std::move(fired); }

    void arm(std::int64_t dueMs) override;
    void cancel() override;

    // Wall-clock milliseconds since the epoch: the clock the ticks are aligned to.
    static std::int64_t nowMs();

private:
    void setTo(std::int64_t dueMs);

    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> fired_;
};

}  // namespace horatta::shell
