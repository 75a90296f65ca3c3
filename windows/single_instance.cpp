#include "windows/single_instance.h"

#include "windows/win32.h"

#include <cstdio>

namespace horatta::win {

bool becomeTheOnlyClock(const char* programName) {
    // Left open on purpose: the system lets it go with the process, however it ends.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Local\\qom-time-clock");
    if (!mutex || GetLastError() != ERROR_ALREADY_EXISTS) return true;
    CloseHandle(mutex);
    std::fprintf(stderr, "%s: a clock is already running for this user\n", programName);
    return false;
}

}  // namespace horatta::win
