#pragma once

#include "win32/win32.h"

#include <cstdint>

#include "platform/timer_driver.h"

namespace horatta::shell {

// The native timer the model's timers run on: one window timer of Form1, armed for one
// moment at a time.
class SystemTimer : public NativeTimer {
public:
    // The system timer counts in steps of about 15.6 ms and may go off a step early; a tick
    // this late after the second rarely needs arming twice.
    static constexpr int alignmentSlackMs = 15;

    // The window whose WM_TIMER messages carry this timer.
    void attach(HWND window) { window_ = window; }

    void arm(std::int64_t dueMs) override;
    void cancel() override;
    // A WM_TIMER arrived with `id`: true when it was this timer going off.
    bool wentOff(WPARAM id);

    // Wall-clock milliseconds, on the same clock as the shell's now(): the clock the ticks
    // are aligned to.
    static std::int64_t nowMs();

private:
    static constexpr UINT_PTR id_ = 1;
    HWND window_ = nullptr;
};

}  // namespace horatta::shell
