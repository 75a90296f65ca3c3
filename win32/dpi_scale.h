#pragma once

#include "win32/win32.h"

#include "platform/platform.h"

// Sent from Windows 8.1 on; the headers declare it only for programs that need 8.1.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace horatta::shell {

// The core lays the strip out in logical pixels of 15 twips, as at 96 dots an inch; the
// shell draws and takes input in the device pixels of the screen the strip is on. A logical
// edge goes to the device pixel nearest it (a half towards the smaller one), so at 144 dpi
// the 67 logical pixels of the strip are 100 device pixels, at 192 dpi 134. A device point
// goes back to the logical pixel whose device span holds it, so a press lands on the
// control drawn under it, whatever the rounding.
class DpiScale {
public:
    static constexpr int standardDpi = 96;

    explicit DpiScale(int dpi = standardDpi) : dpi_(dpi > 0 ? dpi : standardDpi) {}
    int dpi() const { return dpi_; }

    int toDevice(int logical) const;
    int toLogical(int device) const;
    // A rectangle edge by edge, so that controls that meet still meet.
    RECT toDevice(const PixelRect& logical) const;
    // A screen in logical pixels: the logical pixels drawn wholly on it.
    PixelRect toLogical(const RECT& device) const;

private:
    int dpi_;
};

// The dots per inch of the screen a window is on; of the whole desktop on systems older than
// the per-screen densities.
int dpiOf(HWND window);

}  // namespace horatta::shell
