#include "platform/timer_driver.h"

#include <limits>
#include <utility>

#include "platform/tick_alignment.h"

namespace horatta {

TimerDriver::TimerDriver(NativeTimer& native, Clock clock, int slackMs, std::vector<DrivenTimer> timers,
                         Deliver deliver)
    : native_(native), clock_(std::move(clock)), slackMs_(slackMs), deliver_(std::move(deliver)) {
    for (auto& timer : timers) slots_.push_back(Slot{std::move(timer), std::nullopt, false});
}

void TimerDriver::start() {
    running_ = true;
    const std::int64_t now = clock_();
    for (Slot& slot : slots_) schedule(slot, now, false);
    if (!serving_) arm();
}

void TimerDriver::stop() {
    // What was due is forgotten: start() schedules every timer afresh.
    running_ = false;
    native_.cancel();
}

void TimerDriver::changed(std::size_t index) {
    if (!running_) return;
    Slot& slot = slots_.at(index);
    if (ticking_ == index) slot.restartedInTick = true;
    schedule(slot, clock_(), false);
    // A change made by a handler is armed once the whole wake-up has been served.
    if (!serving_) arm();
}

void TimerDriver::fired() {
    // Going off again inside a handler (a nested event loop) serves nothing twice: the
    // native timer is armed afresh when the handler returns.
    if (!running_ || serving_) return;
    const std::int64_t now = clock_();
    const auto first = nextDue(std::numeric_limits<std::int64_t>::max(), std::vector<bool>(slots_.size()));
    if (!first) {
        native_.cancel();
        return;
    }
    const std::int64_t due = *slots_[*first].due;
    if (now < due) {
        if (!armedAt_ || now >= *armedAt_) {  // early: wait for the rest
            arm();
            return;
        }
        // The wall clock was set back since arming. Waiting for the old moment would freeze
        // the face for as long as the step; the earliest moment is taken as now instead.
        for (Slot& slot : slots_)
            if (slot.due) *slot.due -= due - now;
    }
    serving_ = true;
    std::vector<bool> served(slots_.size());
    while (running_) {
        const auto next = nextDue(clock_(), served);
        if (!next) break;
        served[*next] = true;
        tick(*next);
    }
    serving_ = false;
    if (running_) arm();
}

std::optional<std::size_t> TimerDriver::nextDue(std::int64_t upToMs, const std::vector<bool>& served) const {
    std::optional<std::size_t> next;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        const auto& due = slots_[i].due;
        if (served[i] || !due || *due > upToMs) continue;
        if (!next || *due < *slots_[*next].due) next = i;
    }
    return next;
}

void TimerDriver::schedule(Slot& slot, std::int64_t nowMs, bool afterFiring) {
    if (!slot.timer.enabled()) {
        slot.due.reset();
        return;
    }
    const TickMoment moment = afterFiring ? TickMoment::Fired : TickMoment::Started;
    slot.due = nowMs + nextTickDelayMs(slot.timer.intervalMs(), static_cast<int>(nowMs % 1000), moment, slackMs_);
}

void TimerDriver::tick(std::size_t index) {
    Slot& slot = slots_[index];
    ticking_ = index;
    slot.restartedInTick = false;
    if (deliver_)
        deliver_(index, slot.timer.handler);
    else
        slot.timer.handler();
    ticking_.reset();
    if (running_ && !slot.restartedInTick) schedule(slot, clock_(), true);
}

void TimerDriver::arm() {
    const auto next = nextDue(std::numeric_limits<std::int64_t>::max(), std::vector<bool>(slots_.size()));
    if (!next) {
        armedAt_.reset();
        native_.cancel();
        return;
    }
    armedAt_ = clock_();
    native_.arm(*slots_[*next].due);
}

}  // namespace horatta
