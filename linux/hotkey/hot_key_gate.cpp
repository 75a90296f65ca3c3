#include "linux/hotkey/hot_key_gate.h"

namespace horatta::hotkey {

bool HotKeyGate::press(const std::vector<Grab>& grabs, std::uint8_t keycode, std::uint16_t state, bool synthetic,
                       const std::function<bool()>& typesText) {
    if (synthetic || !isGrabbedPress(grabs, keycode, state) || (typesText && typesText())) return false;
    armed_ = true;
    return true;
}

}  // namespace horatta::hotkey
