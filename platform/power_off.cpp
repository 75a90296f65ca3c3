#include "platform/power_off.h"

namespace horatta {

void EnableShutdownPrivilege(Platform& platform) { platform.enableShutdownPrivilege(); }

void PowerOffSequence(Platform& platform) {
    EnableShutdownPrivilege(platform);
    platform.exitWindows(exitWindowsPowerOff, 0);
}

}  // namespace horatta
