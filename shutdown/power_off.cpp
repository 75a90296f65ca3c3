#include "window/form1.h"

namespace horatta {

void EnableShutdownPrivilege(Platform& platform) { platform.enableShutdownPrivilege(); }

void PowerOffSequence(Platform& platform) {
    EnableShutdownPrivilege(platform);
    platform.exitWindows(exitWindowsPowerOff, 0);
}

void Form1::powerOff() { PowerOffSequence(platform_); }

}  // namespace horatta
