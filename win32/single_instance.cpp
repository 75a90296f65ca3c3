#include "win32/single_instance.h"

#include "win32/win32.h"

#include <cstdio>

namespace horatta::shell {

UINT bringToFrontMessage() {
    static const UINT message = RegisterWindowMessageW(L"horatta.bring-to-front");
    return message;
}

namespace {

// The clock runs already: it is asked to come to the front. It may take the foreground only
// because this start, which the user just made, lets it.
bool askRunningClockToShow() {
    HWND clock = FindWindowW(clockWindowClass, nullptr);
    if (!clock || bringToFrontMessage() == 0) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(clock, &process);
    if (process) AllowSetForegroundWindow(process);
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(clock, bringToFrontMessage(), 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, 500, &answer) &&
           answer == static_cast<DWORD_PTR>(bringToFrontAnswer);
}

}  // namespace

bool becomeTheOnlyClock(const char* programName) {
    // Left open on purpose: the system lets it go with the process, however it ends.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Local\\qom-time-clock");
    if (!mutex || GetLastError() != ERROR_ALREADY_EXISTS) return true;
    CloseHandle(mutex);
    // Said also when the clock does not answer.
    askRunningClockToShow();
    std::fprintf(stderr, "%s: a clock is already running for this user\n", programName);
    return false;
}

}  // namespace horatta::shell
