#pragma once

#include "win32/win32.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "win32/dpi_scale.h"
#include "win32/settings_registry.h"

namespace horatta::shell {

// The operating-system services the clock asks for that need no window: time, the user's
// locale, the speaker, the power-off, the settings and the screen.
class SystemServices {
public:
    SystemServices();  // makes the labels' font for 96 dots an inch
    ~SystemServices();
    SystemServices(const SystemServices&) = delete;
    SystemServices& operator=(const SystemServices&) = delete;

    DateTime now() const;

    std::string longTimeText(TimeOfDay time) const;
    std::string weekdayName(int weekday) const;
    std::string monthAbbreviation(int month) const;
    std::optional<TimeOfDay> parseDateOrTime(const std::string& text) const;

    // Sounds the tone and returns only when its time is up, also where the speaker call
    // comes back early (no speaker, or a system that does not wait).
    void beep(int hz, int ms) const;

    // Enables the shutdown privilege of this process's token; true when the system agreed.
    static bool enableShutdownPrivilege();
    // Powers the computer off, or, in a test build (the CMake option HORATTA_FAKE_POWER_OFF)
    // where the variable HORATTA_FAKE_POWER_OFF names a file, only records the request
    // there: the end-to-end tests must never reach the real call.
    void exitWindows(std::uint32_t flags, std::uint32_t reserved) const;
    // Appends a line to the power-off record when there is one; false when there is none.
    bool recordPowerCall(const std::string& line) const;

    // The screens, and the primary one's width, in the clock's logical pixels.
    int screenWidthPixels() const;
    std::vector<PixelRect> screens() const;

    // The density the strip is drawn at: that of the screen it is on. The font follows it.
    const DpiScale& scale() const { return scale_; }
    void setDpi(int dpi);

    // The labels' font: 8.25 points of Microsoft Sans Serif, the outline form of MS Sans Serif,
    // at the strip's density. Unlike the bitmap original it is linked to fallback fonts, so the
    // countdown's Chinese characters show on every Windows, not only on a Chinese one.
    HFONT font() const { return font_; }
    // In whole logical pixels, enough for the text drawn in device pixels wherever its
    // edges round.
    float textWidthTwips(const std::string& text) const;

    Registry& registry() { return registry_; }

private:
    DpiScale scale_;
    HFONT font_ = nullptr;
    SettingsRegistry registry_;
    std::wstring fakePowerOffLog_;
};

}  // namespace horatta::shell
