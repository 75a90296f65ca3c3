#pragma once

#include "win32/win32.h"

#include "platform/window_system.h"
#include "win32/system_services.h"

namespace horatta::shell {

// The platform of a Windows desktop: the system's clock, locale, screens, speaker, power-off
// and registry, through the services; the windows' own requests go to the shell's windows.
class DesktopPlatform : public WindowedPlatform {
public:
    explicit DesktopPlatform(SystemServices& services) : services_(services) {}

    // The hot-key window, once it exists.
    void setHotKeyWindow(HWND window) { hotKeyWindow_ = window; }

    DateTime now() override { return services_.now(); }
    std::string longTimeText(TimeOfDay time) override { return services_.longTimeText(time); }
    std::string weekdayName(int weekday) override { return services_.weekdayName(weekday); }
    std::string monthAbbreviation(int month) override { return services_.monthAbbreviation(month); }
    std::optional<TimeOfDay> parseDateOrTime(const std::string& text) override {
        return services_.parseDateOrTime(text);
    }
    int screenWidthTwips() override;
    // Windows scales a program that does not declare itself DPI-aware as a whole: to it the
    // screen always has 96 dots an inch.
    int twipsPerPixelX() override;
    int twipsPerPixelY() override;
    std::vector<PixelRect> screens() override { return services_.screens(); }
    float textWidth(const std::string& text) override { return services_.textWidthTwips(text); }
    void enableShutdownPrivilege() override;
    void exitWindows(std::uint32_t flags, std::uint32_t reserved) override { services_.exitWindows(flags, reserved); }
    void setHotKey(ControlId window, std::int32_t value) override;
    Registry& registry() override { return services_.registry(); }

protected:
    void tone(int hz, int ms) override { services_.beep(hz, ms); }

private:
    SystemServices& services_;
    HWND hotKeyWindow_ = nullptr;
};

}  // namespace horatta::shell
