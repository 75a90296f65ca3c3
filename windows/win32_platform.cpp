#include "windows/win32_platform.h"

#include "window/layout.h"

namespace horatta::win {

int Win32Platform::screenWidthTwips() { return static_cast<int>(toTwips(services_.screenWidthPixels())); }
int Win32Platform::twipsPerPixelX() { return twipsPerPixel; }
int Win32Platform::twipsPerPixelY() { return twipsPerPixel; }

void Win32Platform::enableShutdownPrivilege() {
    const bool enabled = Services::enableShutdownPrivilege();
    services_.recordPowerCall(std::string("EnableShutdownPrivilege ") + (enabled ? "enabled" : "refused"));
}

void Win32Platform::setHotKey(ControlId window, std::int32_t value) {
    // Only the hot-key window takes a hot key; the clock asks for no other.
    if (window == ControlId::Form2 && hotKeyWindow_)
        SendMessageW(hotKeyWindow_, WM_SETHOTKEY, static_cast<WPARAM>(value), 0);
}

}  // namespace horatta::win
