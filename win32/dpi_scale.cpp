#include "win32/dpi_scale.h"

namespace horatta::shell {

namespace {

// Division that rounds towards minus infinity: screens left of or above the primary one
// have negative coordinates.
long long floorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

// ceil(logical * dpi / 96 - 1/2)
int DpiScale::toDevice(int logical) const {
    return static_cast<int>(-floorDiv(-(2LL * logical * dpi_ - standardDpi), 2LL * standardDpi));
}

// The largest logical pixel whose edge maps to this device pixel or before it:
// floor((96 * device + 48) / dpi).
int DpiScale::toLogical(int device) const {
    return static_cast<int>(floorDiv(1LL * standardDpi * device + standardDpi / 2, dpi_));
}

RECT DpiScale::toDevice(const PixelRect& r) const {
    return RECT{toDevice(r.left), toDevice(r.top), toDevice(r.left + r.width), toDevice(r.top + r.height)};
}

PixelRect DpiScale::toLogical(const RECT& r) const {
    const int left = toLogical(r.left - 1) + 1, top = toLogical(r.top - 1) + 1;
    return {left, top, toLogical(r.right) - left, toLogical(r.bottom) - top};
}

int dpiOf(HWND window) {
    // Windows 10's own call, where there is one; the program still runs on older systems.
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : DpiScale::standardDpi;
}

}  // namespace horatta::shell
