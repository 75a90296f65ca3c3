#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "linux/hotkey/key_grabs.h"

namespace horatta::hotkey {

// Decides which key events reported to the hot key's grab are the user's. Only a real press
// of the hot key arms it; every real release while it is armed counts, until the hot key's
// own key comes up and the server ends the grab. An event another client made up and sent
// (the X "send event" flag) never counts, neither as the press nor as a release, and a
// release on the root window with nothing armed is no one's.
class HotKeyGate {
public:
    // Whether this press is the hot key: true arms the gate.
    bool press(const std::vector<Grab>& grabs, std::uint8_t keycode, std::uint16_t state, bool synthetic);
    // Whether this release is one the user made after the hot key.
    bool release(std::uint8_t keycode, bool synthetic);
    bool armed() const { return armedBy_.has_value(); }

private:
    std::optional<std::uint8_t> armedBy_;  // the keycode whose release ends the grab
};

}  // namespace horatta::hotkey
