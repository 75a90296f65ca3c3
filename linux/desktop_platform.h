#pragma once

#include <QFont>
#include <QString>
#include <cstdint>
#include <memory>

#include "linux/settings_registry.h"
#include "linux/system_services.h"
#include "platform/window_system.h"

namespace horatta::shell {

// The system's long time format without its time zone, which a clock's time of day does
// not carry: "h:mm:ss AP t" becomes "h:mm:ss AP".
QString timeFormatWithoutZone(QString format);

// The platform of the Linux desktop: Qt for time, locale, screens and text, the INI file
// for settings, and the system services for tone, power and hot key.
class DesktopPlatform : public WindowedPlatform {
public:
    DesktopPlatform(Registry& registry, SystemServices& services);

    DateTime now() override;
    std::string longTimeText(TimeOfDay time) override;
    std::string weekdayName(int weekday) override;
    std::string monthAbbreviation(int month) override;
    std::optional<TimeOfDay> parseDateOrTime(const std::string& text) override;

    int screenWidthTwips() override;
    int twipsPerPixelX() override;
    int twipsPerPixelY() override;
    std::vector<PixelRect> screens() override;
    float textWidth(const std::string& text) override;

    void enableShutdownPrivilege() override { services_.enableShutdownPrivilege(); }
    void exitWindows(std::uint32_t flags, std::uint32_t reserved) override { services_.exitWindows(flags, reserved); }
    void setHotKey(ControlId, std::int32_t value) override { services_.setHotKey(value); }

    Registry& registry() override { return registry_; }

protected:
    void tone(int hz, int ms) override { services_.beep(hz, ms); }

private:
    Registry& registry_;
    SystemServices& services_;
    QFont font_;
    std::int64_t nowSecond_ = -1;  // the wall-clock second nowAtSecond_ is for
    DateTime nowAtSecond_;
};

}  // namespace horatta::shell
