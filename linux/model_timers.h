#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "platform/timer_schedule.h"
#include "window/controls.h"

namespace horatta::shell {

// One native timer mirroring one model Timer: restarted on every change of Enabled or
// Interval, aligned to the wall clock by the shared schedule, and firing precisely.
class ModelTimer : public QObject {
    Q_OBJECT
public:
    // `tick` runs the model's handler and whatever must follow it (a redraw).
    ModelTimer(Timer& timer, std::function<void()> tick, QObject* parent = nullptr);
    ~ModelTimer() override;

    // Begins following the model timer's settings.
    void start();
    void stop();

    // Wall-clock milliseconds since the epoch: the clock the ticks are aligned to.
    static std::int64_t wallClockMs();

private:
    void changed();
    void fire();
    void arm();

    Timer& timer_;
    std::function<void()> tick_;
    TimerSchedule schedule_;
    QTimer native_;
    bool running_ = false;
    bool inTick_ = false;
};

}  // namespace horatta::shell
