#include "linux/system_services.h"

#include "linux/first_frame.h"

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
    // Made on first use, once the face is up: it needs the running application's X connection,
    // and reading the keyboard's layout would hold back the first frame.
    hotKeyValue_ = value;
    if (!hotKey_) {
        if (!hotKeyAsked_) first_frame::after([this, alive = std::weak_ptr<int>(alive_)] {
            if (alive.lock()) applyHotKey();
        });
        hotKeyAsked_ = true;
        return;
    }
    hotKey_->setHotKey(value);
}

void SystemServices::applyHotKey() {
    if (!hotKey_) {
        hotKey_ = std::make_unique<hotkey::X11HotKey>();
        hotKey_->onReleased = [this] {
            if (onHotKeyReleased) onHotKeyReleased();
        };
    }
    hotKey_->setHotKey(hotKeyValue_);
}

}  // namespace horatta::shell
