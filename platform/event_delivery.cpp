#include "platform/event_delivery.h"

#include <utility>

namespace horatta {

EventDelivery::EventDelivery(After after) : after_(std::move(after)) {}

void EventDelivery::deliver(Kind kind, std::function<void()> event) {
    if (stopped_ || !event) return;
    if (running() && kind == Kind::Input) {
        waiting_.push_back(std::move(event));
        return;
    }
    if (running() && kind == Kind::Screens) {
        screens_ = std::move(event);  // the latest state of the screens is all that counts
        return;
    }
    run(kind, event);
    // Only the outermost delivery takes up what waited: a nested one returns to its handler.
    while (!running() && !stopped_) {
        if (screens_) {
            const std::function<void()> next = std::exchange(screens_, nullptr);
            run(Kind::Screens, next);
        } else if (!waiting_.empty()) {
            const std::function<void()> next = std::move(waiting_.front());
            waiting_.pop_front();
            run(Kind::Input, next);
        } else {
            break;
        }
    }
}

void EventDelivery::run(Kind kind, const std::function<void()>& event) {
    ++depth_;
    event();
    --depth_;
    if (!stopped_ && after_) after_(kind, depth_ == 0);
}

void EventDelivery::stop() {
    stopped_ = true;
    waiting_.clear();
    screens_ = nullptr;
}

}  // namespace horatta
