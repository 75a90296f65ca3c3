#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "linux/hotkey/key_grabs.h"

namespace horatta::hotkey {

// Decides which key events reported to the hot key are the user's. Only a real press of
// the hot key arms it; while it is armed (until the keyboard goes elsewhere) every real
// key release counts. An event another client made up and sent (the X "send event" flag)
// never counts, neither as the press nor as a release, and a release with nothing armed
// is no one's. A chord that types a character on the keyboard layout in use is text, so it
// never arms, even when it is the hot key's keys.
class HotKeyGate {
public:
    // Whether this press is the hot key: true arms the gate. typesText is asked only about a
    // real press of the hot key's keys.
    bool press(const std::vector<Grab>& grabs, std::uint8_t keycode, std::uint16_t state, bool synthetic,
               const std::function<bool()>& typesText);
    // Whether this release is one the user made after the hot key.
    bool release(bool synthetic) const { return armed_ && !synthetic; }
    // The keyboard went to another window.
    void disarm() { armed_ = false; }
    bool armed() const { return armed_; }

private:
    bool armed_ = false;
};

}  // namespace horatta::hotkey
