#pragma once

#include <cstdint>

struct xkb_keymap;

namespace horatta::hotkey {

// Whether a key pressed with these modifiers types a character on a keyboard layout: the key
// gives a character, and any Control or Alt of the chord is there to choose it. Such a chord
// is text, never the hot key: a layout may put its third level (the one AltGr chooses, say
// "ż" on the Z key of a Polish keyboard) on Control+Alt, as Windows always does.
//
// The state is an X key event's: modifier bits in its low byte, the layout (group) in bits
// 13 and 14. A keymap that is missing types nothing.
bool chordTypesText(xkb_keymap* keymap, std::uint8_t keycode, std::uint16_t state);

}  // namespace horatta::hotkey
