#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace horatta {

// One single-shot timer of the operating system (or of a test's virtual clock). When it goes
// off, its owner calls TimerDriver::fired().
class NativeTimer {
public:
    virtual ~NativeTimer() = default;
    // Go off once at wall-clock millisecond `dueMs`, or as soon as possible when that has
    // passed; whatever was armed before is forgotten.
    virtual void arm(std::int64_t dueMs) = 0;
    virtual void cancel() = 0;
};

// A model timer as the driver sees it.
struct DrivenTimer {
    std::function<bool()> enabled;
    std::function<int()> intervalMs;
    std::function<void()> handler;
};

// Drives the model's timers on one native timer, so every shell and the test simulator share
// the same rules:
//  * a change of Enabled or Interval restarts the period, also from inside the timer's own
//    handler; a timer whose handler left it alone continues its period from the firing;
//  * 1000 ms and 500 ms periods are aligned just after the wall-clock second (or half-second),
//    `slackMs` late, and a tick never runs before its moment (a native timer that comes early
//    is armed again for the rest);
//  * one wake-up serves every timer that is due, earliest first, timers due together in the
//    order given; a timer whose moment passes while another handler runs is served in the
//    same wake-up. Then the native timer is armed once, for the earliest next moment.
class TimerDriver {
public:
    using Clock = std::function<std::int64_t()>;  // wall-clock milliseconds
    // Runs timer `index`'s handler together with what its client does around one (a redraw).
    using Deliver = std::function<void(std::size_t index, const std::function<void()>& handler)>;

    TimerDriver(NativeTimer& native, Clock clock, int slackMs, std::vector<DrivenTimer> timers,
                Deliver deliver = {});
    virtual ~TimerDriver() = default;
    TimerDriver(const TimerDriver&) = delete;
    TimerDriver& operator=(const TimerDriver&) = delete;

    // The timers start with their current settings; until then changes are not followed.
    void start();
    // No timer fires any more, also when this is called from a handler.
    void stop();
    // Timer `index` has been enabled, disabled or given an interval.
    void changed(std::size_t index);
    // The native timer has gone off.
    void fired();

    // Wall-clock milliseconds when the timer fires next; nothing while it is disabled.
    std::optional<std::int64_t> dueMs(std::size_t index) const { return slots_.at(index).due; }

private:
    struct Slot {
        DrivenTimer timer;
        std::optional<std::int64_t> due;
        bool restartedInTick = false;
    };
    std::optional<std::size_t> nextDue(std::int64_t upToMs, const std::vector<bool>& served) const;
    void schedule(Slot& slot, std::int64_t nowMs, bool afterFiring);
    void tick(std::size_t index);
    void arm();

    NativeTimer& native_;
    Clock clock_;
    int slackMs_;
    std::vector<Slot> slots_;
    Deliver deliver_;
    bool running_ = false;
    bool serving_ = false;
    std::optional<std::size_t> ticking_;
    std::optional<std::int64_t> armedAt_;  // the wall clock when the native timer was armed
};

}  // namespace horatta
