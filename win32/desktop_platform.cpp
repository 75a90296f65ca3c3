#include "win32/desktop_platform.h"

#include "window/layout.h"

namespace horatta::shell {

int DesktopPlatform::screenWidthTwips() { return static_cast<int>(toTwips(services_.screenWidthPixels())); }
int DesktopPlatform::twipsPerPixelX() { return twipsPerPixel; }
int DesktopPlatform::twipsPerPixelY() { return twipsPerPixel; }

void DesktopPlatform::enableShutdownPrivilege() {
    const bool enabled = SystemServices::enableShutdownPrivilege();
    services_.recordPowerCall(std::string("EnableShutdownPrivilege ") + (enabled ? "enabled" : "refused"));
}

void DesktopPlatform::setHotKey(ControlId window, std::int32_t value) {
    // Only the hot-key window takes a hot key; the clock asks for no other.
    if (window == ControlId::Form2 && hotKeyWindow_)
        SendMessageW(hotKeyWindow_, WM_SETHOTKEY, static_cast<WPARAM>(value), 0);
}

}  // namespace horatta::shell
