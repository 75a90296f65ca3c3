#pragma once

#include <cstdint>

namespace horatta::shell {

// The services that reach beyond the desktop session: the tone, the power-off and the
// global hot key. Kept apart so each can be given its real form on its own.
//
// For now they are harmless stand-ins: the tone is silence of the right length, the
// power-off only says on standard error what it would do, and the hot key is not taken.
class SystemServices {
public:
    // Returns once the tone's duration has passed, holding the caller as a tone would.
    void beep(int hz, int ms);
    void enableShutdownPrivilege();
    void exitWindows(std::uint32_t flags, std::uint32_t reserved);
    void setHotKey(std::int32_t value);
};

}  // namespace horatta::shell
