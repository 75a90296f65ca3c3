#pragma once

#include <QFont>
#include <QString>
#include <memory>

#include "linux/ini_registry.h"
#include "linux/system_services.h"
#include "platform/platform.h"

namespace horatta::shell {

// What the platform asks of the windows on screen; the shell's windows answer it.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    virtual WindowPosition dragWindow(ControlId window, WindowPosition from) = 0;
    virtual void makeTopmost(ControlId window) = 0;
    virtual void showWindow(ControlId window) = 0;
    virtual void setCaretShown(ControlId field, bool shown) = 0;
    virtual void setFocus(ControlId control) = 0;
    virtual void endProgram() = 0;
    // Puts the model on screen now, before something holds the clock's thread.
    virtual void paintNow() = 0;
};

// The system's long time format without its time zone, which a clock's time of day does
// not carry: "h:mm:ss AP t" becomes "h:mm:ss AP".
QString timeFormatWithoutZone(QString format);

// The platform of the Linux desktop: Qt for time, locale, screens and text, the INI file
// for settings, and the system services for tone, power and hot key.
class QtPlatform : public Platform {
public:
    QtPlatform(Registry& registry, SystemServices& services);

    void setWindowSystem(WindowSystem* windows) { windows_ = windows; }

    DateTime now() override;
    std::string longTimeText(TimeOfDay time) override;
    std::string weekdayName(int weekday) override;
    std::string monthAbbreviation(int month) override;
    std::optional<TimeOfDay> parseDateOrTime(const std::string& text) override;

    void beep(int hz, int ms) override;

    WindowPosition dragWindow(ControlId window, WindowPosition from) override;
    void makeTopmost(ControlId window) override;
    void showWindow(ControlId window) override;
    void showCaret(ControlId field) override;
    void hideCaret(ControlId field) override;
    void setFocus(ControlId control) override;
    int screenWidthTwips() override;
    int twipsPerPixelX() override;
    int twipsPerPixelY() override;
    std::vector<PixelRect> screens() override;
    float textWidth(const std::string& text) override;
    void endProgram() override;

    void enableShutdownPrivilege() override { services_.enableShutdownPrivilege(); }
    void exitWindows(std::uint32_t flags, std::uint32_t reserved) override { services_.exitWindows(flags, reserved); }
    void setHotKey(ControlId, std::int32_t value) override { services_.setHotKey(value); }

    Registry& registry() override { return registry_; }

private:
    Registry& registry_;
    SystemServices& services_;
    WindowSystem* windows_ = nullptr;
    QFont font_;
};

}  // namespace horatta::shell
