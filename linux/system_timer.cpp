#include "linux/system_timer.h"

#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace horatta::shell {

SystemTimer::SystemTimer() {
    fd_ = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd_ < 0) throw std::runtime_error("no timer for the clock's ticks");
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        // The count of expiries, or ECANCELED when the wall clock was set: either way the
        // driver looks at the clock and serves or re-arms.
        std::uint64_t expiries = 0;
        if (read(fd_, &expiries, sizeof expiries) < 0 && errno == EAGAIN) return;
        if (fired_) fired_();
    });
}

SystemTimer::~SystemTimer() {
    notifier_.reset();
    close(fd_);
}

std::int64_t SystemTimer::nowMs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

void SystemTimer::setTo(std::int64_t dueMs) {
    itimerspec when{};
    when.it_value.tv_sec = static_cast<time_t>(dueMs / 1000);
    when.it_value.tv_nsec = static_cast<long>(dueMs % 1000) * 1'000'000;
    timerfd_settime(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &when, nullptr);
}

void SystemTimer::arm(std::int64_t dueMs) {
    // A moment that has passed (or the epoch itself, which would disarm) goes off at once.
    setTo(dueMs > 0 ? dueMs : 1);
}

void SystemTimer::cancel() {
    itimerspec off{};
    timerfd_settime(fd_, 0, &off, nullptr);
}

}  // namespace horatta::shell
