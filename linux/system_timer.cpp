#include "linux/system_timer.h"

#include <QDateTime>
#include <algorithm>

namespace horatta::shell {

SystemTimer::SystemTimer() {
    native_.setSingleShot(true);
    native_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&native_, &QTimer::timeout, [this] {
        if (fired_) fired_();
    });
}

std::int64_t SystemTimer::nowMs() { return QDateTime::currentMSecsSinceEpoch(); }

void SystemTimer::arm(std::int64_t dueMs) {
    // The event loop counts in its own clock; a wait longer than a day is armed again when
    // it ends, which the driver does for any firing that comes before its moment.
    const std::int64_t wait = std::clamp<std::int64_t>(dueMs - nowMs(), 0, 24LL * 3600 * 1000);
    native_.start(static_cast<int>(wait));
}

}  // namespace horatta::shell
