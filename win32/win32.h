#pragma once

// The one way the Windows headers come into the shell. windows.h makes HKEY_LOCAL_MACHINE a
// macro, which would rewrite the core's constant of that name; the shell keeps the system's
// handles under names of its own and leaves the name to the core.
#include <windows.h>

namespace horatta::shell {
inline const HKEY localMachineKey = HKEY_LOCAL_MACHINE;
inline const HKEY currentUserKey = HKEY_CURRENT_USER;
}  // namespace horatta::shell

#undef HKEY_LOCAL_MACHINE
