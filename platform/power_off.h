#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace horatta {

// Flags of the power-off: shut down, force, power off.
inline constexpr std::uint32_t exitWindowsPowerOff = 13;

// The power-off sequence shared by the watch and the hot-key window: the shutdown
// privilege, then shut down and power off, forcing applications closed. Failures are not
// examined: if the system refuses, the clock runs on.
void EnableShutdownPrivilege(Platform& platform);
void PowerOffSequence(Platform& platform);

}  // namespace horatta
