#include "linux/system_services.h"

namespace horatta::shell {

SystemServices::SystemServices() = default;
SystemServices::~SystemServices() = default;

void SystemServices::beep(int hz, int ms) { beeper_.beep(hz, ms); }

void SystemServices::exitWindows(std::uint32_t flags, std::uint32_t) {
    // Failures are not examined: if the machine does not go off, the clock runs on. A
    // request while the last one is still on its way is not sent again.
    if (power::flagsRequestPowerOff(flags)) loginManager_.powerOff();
}

void SystemServices::setHotKey(std::int32_t value) {
    // Made on first use: it needs the running application's X connection.
    if (!hotKey_) {
        hotKey_ = std::make_unique<hotkey::X11HotKey>();
        hotKey_->onReleased = [this] {
            if (onHotKeyReleased) onHotKeyReleased();
        };
    }
    hotKey_->setHotKey(value);
}

}  // namespace horatta::shell
