#include "linux/model_timers.h"

#include <QDateTime>
#include <algorithm>

namespace horatta::shell {

ModelTimer::ModelTimer(Timer& timer, std::function<void()> tick, QObject* parent)
    : QObject(parent), timer_(timer), tick_(std::move(tick)) {
    native_.setSingleShot(true);
    native_.setTimerType(Qt::PreciseTimer);
    connect(&native_, &QTimer::timeout, this, &ModelTimer::fire);
}

ModelTimer::~ModelTimer() { timer_.setObserver(nullptr); }

std::int64_t ModelTimer::wallClockMs() { return QDateTime::currentMSecsSinceEpoch(); }

void ModelTimer::start() {
    running_ = true;
    timer_.setObserver([this] { changed(); });
    changed();
}

void ModelTimer::stop() {
    running_ = false;
    timer_.setObserver(nullptr);
    native_.stop();
}

void ModelTimer::changed() {
    schedule_.restart(timer_.enabled(), timer_.interval(), wallClockMs());
    // A change made by the timer's own handler is armed when the handler returns.
    if (!inTick_) arm();
}

void ModelTimer::arm() {
    const auto due = schedule_.dueMs();
    if (!running_ || !due) {
        native_.stop();
        return;
    }
    const std::int64_t wait = std::max<std::int64_t>(0, *due - wallClockMs());
    native_.start(static_cast<int>(std::min<std::int64_t>(wait, 24LL * 3600 * 1000)));
}

void ModelTimer::fire() {
    // A nested event loop inside the handler (the drag) must not run it a second time.
    if (inTick_ || !running_) return;
    inTick_ = true;
    schedule_.beginTick();
    tick_();
    inTick_ = false;
    if (!running_) return;
    schedule_.endTick(timer_.enabled(), timer_.interval(), wallClockMs());
    arm();
}

}  // namespace horatta::shell
