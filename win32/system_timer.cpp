#include "win32/system_timer.h"

#include <algorithm>

namespace horatta::shell {

void SystemTimer::arm(std::int64_t dueMs) {
    // Shorter waits than the system's minimum are stretched to it anyway.
    const std::int64_t wait = std::clamp<std::int64_t>(dueMs - nowMs(), USER_TIMER_MINIMUM, 0x7FFFFFFF);
    SetTimer(window_, id_, static_cast<UINT>(wait), nullptr);
}

void SystemTimer::cancel() { KillTimer(window_, id_); }

bool SystemTimer::wentOff(WPARAM id) {
    if (id != id_) return false;
    cancel();  // a window timer repeats; this one is a single shot
    return true;
}

std::int64_t SystemTimer::nowMs() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    ULARGE_INTEGER ticks;
    ticks.LowPart = ft.dwLowDateTime;
    ticks.HighPart = ft.dwHighDateTime;
    return static_cast<std::int64_t>(ticks.QuadPart / 10000);  // 100 ns steps since 1601
}

}  // namespace horatta::shell
