#include "linux/hotkey/hot_key_gate.h"

namespace horatta::hotkey {

bool HotKeyGate::press(const std::vector<Grab>& grabs, std::uint8_t keycode, std::uint16_t state, bool synthetic) {
    if (synthetic || !isGrabbedPress(grabs, keycode, state)) return false;
    armedBy_ = keycode;
    return true;
}

bool HotKeyGate::release(std::uint8_t keycode, bool synthetic) {
    if (synthetic || !armedBy_) return false;
    if (keycode == *armedBy_) armedBy_.reset();
    return true;
}

}  // namespace horatta::hotkey
