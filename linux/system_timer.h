#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>

#include "platform/timer_driver.h"

namespace horatta::shell {

// The native timer the model's timers run on: one precise single shot of the event loop,
// so an aligned tick comes within a millisecond of its moment.
class SystemTimer : public NativeTimer {
public:
    // Qt's precise timers keep to the millisecond, so a second tick needs hardly any slack.
    static constexpr int alignmentSlackMs = 1;

    SystemTimer();
    // Runs when the timer goes off.
    void onFired(std::function<void()> fired) { fired_ = std::move(fired); }

    void arm(std::int64_t dueMs) override;
    void cancel() override { native_.stop(); }

    // Wall-clock milliseconds since the epoch: the clock the ticks are aligned to.
    static std::int64_t nowMs();

private:
    QTimer native_;
    std::function<void()> fired_;
};

}  // namespace horatta::shell
