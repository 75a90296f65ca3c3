#include "window/form1.h"

namespace horatta {

void EnableShutdownPrivilege(Platform& platform) { platform.enableShutdownPrivilege(); }

void Form1::powerOff() {
    // Failures are not examined: if the system refuses, the clock simply runs on.
    EnableShutdownPrivilege(platform_);
    platform_.exitWindows(exitWindowsPowerOff, 0);
}

}  // namespace horatta
