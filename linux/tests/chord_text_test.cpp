// Which chords on the Z key are text, on keymaps compiled from the system's own layouts.
#include "linux/hotkey/chord_text.h"
#include "linux/hotkey/key_grabs.h"

#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace horatta::hotkey {
namespace {

struct Unref {
    void operator()(xkb_context* c) const { xkb_context_unref(c); }
    void operator()(xkb_keymap* k) const { xkb_keymap_unref(k); }
};
using Keymap = std::unique_ptr<xkb_keymap, Unref>;

const std::unique_ptr<xkb_context, Unref> context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));

// "pl", "us,pl", or a keymap file's name.
Keymap keymap(const std::string& layouts) {
    if (layouts.ends_with(".xkb")) {
        std::ifstream file(HORATTA_E2E_DIR "/" + layouts);
        const std::string text{std::istreambuf_iterator<char>(file), {}};
        return Keymap(xkb_keymap_new_from_string(context.get(), text.c_str(), XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
    }
    const xkb_rule_names names{"evdev", "pc105", layouts.c_str(), "", ""};
    return Keymap(xkb_keymap_new_from_names(context.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
}

// The key labelled Z: the one that types z unshifted in the first layout.
std::uint8_t zKey(xkb_keymap* k) {
    for (xkb_keycode_t code = xkb_keymap_min_keycode(k); code <= xkb_keymap_max_keycode(k) && code < 256; ++code) {
        const xkb_keysym_t* syms = nullptr;
        if (xkb_keymap_key_get_syms_by_level(k, code, 0, 0, &syms) == 1 && syms[0] == XKB_KEY_z) return std::uint8_t(code);
    }
    return 0;
}

constexpr std::uint16_t ctrlAlt = controlMask | mod1Mask, altGr = 0x80 /* Mod5 */, secondLayout = 1 << 13;

TEST(ChordText, AChordThatTypesOnTheLayoutIsText) {
    const char* third = "control_alt_third_level.xkb";  // Ctrl+Alt is the third level, as AltGr
    const struct { const char* layouts; std::uint16_t state; bool text; } cases[] = {
        {"us", ctrlAlt, false}, {"us", ctrlAlt | lockMask | mod2Mask, false}, {"us", controlMask, false},  // Ctrl+Z stays a shortcut
        {"pl", ctrlAlt, false} /* AltGr is a key of its own */, {"pl", altGr, true} /* ż */, {"pl", altGr | shiftMask | lockMask, true},
        {"pl", controlMask | altGr, false} /* Ctrl+ż: a command */, {"fr", ctrlAlt, false},
        {"de", ctrlAlt, false} /* the Z key, where the English Y is */, {"de", altGr, true} /* ← */,
        {"us,pl", ctrlAlt | secondLayout, false}, {"us,pl", altGr | secondLayout, true},
        {third, ctrlAlt, true}, {third, ctrlAlt | shiftMask, true}, {third, altGr, true}, {third, controlMask, false}, {third, mod1Mask, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.layouts) + " state " + std::to_string(c.state));
        const Keymap k = keymap(c.layouts);
        const std::uint8_t z = k ? zKey(k.get()) : 0;
        ASSERT_NE(z, 0);
        EXPECT_EQ(chordTypesText(k.get(), z, c.state), c.text);
    }
    EXPECT_FALSE(chordTypesText(nullptr, 52, ctrlAlt)) << "no keymap, no text";
}

}  // namespace
}  // namespace horatta::hotkey
