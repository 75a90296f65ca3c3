#include "linux/hotkey/chord_text.h"

#include <xkbcommon/xkbcommon.h>

#include <memory>

namespace horatta::hotkey {

namespace {

struct StateDeleter {
    void operator()(xkb_state* state) const { xkb_state_unref(state); }
};

bool isCharacter(std::uint32_t c) { return c >= 0x20 && c != 0x7f && !(c >= 0x80 && c < 0xa0); }

}  // namespace

bool chordTypesText(xkb_keymap* keymap, std::uint8_t keycode, std::uint16_t state) {
    if (!keymap) return false;
    const std::unique_ptr<xkb_state, StateDeleter> keyboard(xkb_state_new(keymap));
    if (!keyboard) return false;
    // The eight real modifiers come first, in the order of the X modifier bits.
    xkb_state_update_mask(keyboard.get(), state & 0xffu, 0, 0, 0, 0, (state >> 13) & 3u);
    if (!isCharacter(xkb_keysym_to_utf32(xkb_state_key_get_one_sym(keyboard.get(), keycode)))) return false;
    // Control or Alt held for anything but choosing the character makes the chord a command
    // (Ctrl+Alt+Z on an English keyboard types no "z").
    for (const char* name : {XKB_MOD_NAME_CTRL, XKB_MOD_NAME_ALT}) {
        const xkb_mod_index_t index = xkb_keymap_mod_get_index(keymap, name);
        if (index == XKB_MOD_INVALID || index >= 8 || !(state & (1u << index))) continue;
        if (xkb_state_mod_index_is_consumed2(keyboard.get(), keycode, index, XKB_CONSUMED_MODE_GTK) <= 0) return false;
    }
    return true;
}

}  // namespace horatta::hotkey
