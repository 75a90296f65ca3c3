#pragma once

#include "win32/win32.h"

namespace horatta::shell {

// One clock per user: both programs share the settings, and a second clock would fight
// the first over the hot key and overwrite its settings. The first start holds a named
// mutex of the user's session for as long as it runs; a later start says so in one line
// on standard error and returns false.
// It asks the clock that runs to show itself first (waiting half a second at most).
bool becomeTheOnlyClock(const char* programName);

// The class of the clock's window, by which a later start or the installer finds it.
inline constexpr wchar_t clockWindowClass[] = L"HorattaForm1";
// The message a later start sends the clock's window: come to the front and flash. The clock
// answers bringToFrontAnswer. 0 when the system has no message for it.
UINT bringToFrontMessage();
inline constexpr LRESULT bringToFrontAnswer = 0x5348;

}  // namespace horatta::shell
