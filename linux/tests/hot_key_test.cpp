// The hot key's grabs and gate, and which chords on the Z key are text, on keymaps compiled
// from the system's own layouts.
#include "linux/hotkey/chord_text.h"
#include "linux/hotkey/hot_key_gate.h"
#include "linux/hotkey/key_grabs.h"

#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace horatta::hotkey {
namespace {

constexpr std::uint16_t ctrlAlt = controlMask | mod1Mask;
const HotKey ctrlAltZ{'z', 'Z', ctrlAlt};

TEST(HotKeyValue, ReadsTheKeyAndItsModifiers) {
    const std::pair<std::int32_t, std::optional<HotKey>> cases[] = {
        {0x065A, ctrlAltZ}, {0x0E5A, ctrlAltZ} /* the extended-key flag changes nothing */, {0x0141, HotKey{'a', 'A', shiftMask}},
        {0x0470, HotKey{0xffbe, 0xffbe, mod1Mask}} /* Alt+F1 */, {0x0600, std::nullopt} /* modifiers without a key */,
        {0x060D, std::nullopt} /* Enter: not a key a hot key can use here */, {0x1065A, std::nullopt} /* wider than 16 bits */};
    for (const auto& [value, key] : cases) EXPECT_EQ(hotKeyFromValue(value), key) << value;
}

// A small keyboard from keycode 8 with two keysyms per keycode:
//   8: a A   9: z Z   10: Num_Lock   11: (none)   12: y Z (a second key that types Z shifted)
const KeyboardMapping keyboard{8, 2, {'a', 'A', 'z', 'Z', numLockKeysym, 0, 0, 0, 'y', 'Z'}};

ModifierMapping numLockOn(int modifier) {
    ModifierMapping m{2, std::vector<std::uint8_t>(16, 0)};
    if (modifier >= 0) m.keycodes[std::size_t(modifier) * 2 + 1] = 10;
    return m;
}

TEST(KeyGrabs, GrabsEveryKeyOfTheHotKeyInEveryLockStateOnce) {
    EXPECT_EQ(numLockMask(keyboard, numLockOn(7)), 0x80);      // Mod5
    EXPECT_EQ(numLockMask(keyboard, numLockOn(-1)), mod2Mask);  // nowhere
    std::vector<Grab> both;
    for (std::uint8_t keycode : {9, 12})
        for (int locks : {0, lockMask | 0, mod2Mask | 0, lockMask | mod2Mask})
            both.push_back({keycode, std::uint16_t(ctrlAlt | locks)});
    EXPECT_EQ(grabsFor(ctrlAltZ, keyboard, numLockOn(4)), both);
    EXPECT_TRUE(grabsFor(HotKey{'q', 'Q', controlMask}, keyboard, numLockOn(4)).empty());
    // NumLock placed on Lock, or on Alt, folds states together; our own second grab would fail.
    for (int modifier : {1, 3})
        EXPECT_EQ(grabsFor(HotKey{'z', 'z', ctrlAlt}, keyboard, numLockOn(modifier)),
                  (std::vector<Grab>{{9, ctrlAlt}, {9, ctrlAlt | lockMask}}));
    // With several layouts the key comes from the first that has it: English then German,
    // Cyrillic then Latin.
    const std::pair<KeyboardMapping, std::uint8_t> layouts[] = {{{8, 4, {'y', 'Y', 'z', 'Z', 'z', 'Z', 'y', 'Y'}}, 9},
                                                                {{8, 4, {0x6c1, 0x6e1, 'z', 'Z'}}, 8}};
    for (const auto& [mapping, keycode] : layouts) {
        const auto grabs = grabsFor(HotKey{'z', 'Z', controlMask}, mapping, numLockOn(-1));
        EXPECT_TRUE(grabs.size() == 4 && std::all_of(grabs.begin(), grabs.end(), [&](const Grab& g) { return g.keycode == keycode; }));
    }
}

// Key events as the hot key sees them, each with what the gate must make of it: only a
// real grabbed press arms, only real releases after it count, until the keyboard goes elsewhere.
TEST(HotKeyGate, OnlyTheUsersOwnKeysCount) {
    const auto grabs = grabsFor(ctrlAltZ, keyboard, numLockOn(4));
    enum Kind { Press, TextPress, Release, FocusLost };
    struct Event { Kind kind; std::uint8_t keycode; std::uint16_t state; bool synthetic, counts; };
    constexpr std::uint8_t z = 9, other = 8, zToo = 12;
    constexpr std::uint16_t locks = lockMask | mod2Mask, button1 = 0x100;
    const std::pair<const char*, std::vector<Event>> cases[] = {
        {"a release with nothing armed", {{Release, z, 0, false, false}}},
        {"a made-up hot key and release", {{Press, z, ctrlAlt, true, false}, {Release, z, 0, true, false}, {Release, z, 0, false, false}}},
        {"a made-up release after the real hot key", {{Press, z, ctrlAlt, false, true}, {Release, other, 0, true, false}}},
        {"every real release after it", {{Press, z, ctrlAlt | locks, false, true}, {Release, other, 0, false, true}, {Release, z, 0, false, true}}},
        {"a held button is no modifier", {{Press, zToo, ctrlAlt | button1, false, true}}},
        {"a chord that types on the layout", {{TextPress, z, ctrlAlt, false, false}, {Release, z, 0, false, false}}},
        {"the keyboard gone elsewhere", {{Press, z, ctrlAlt, false, true}, {FocusLost, 0, 0, false, false}, {Release, z, 0, false, false}}},
        {"other keys or modifiers", {{Press, other, ctrlAlt, false, false}, {Press, z, controlMask, false, false},
                                     {Press, z, ctrlAlt | shiftMask, false, false}, {Release, other, 0, false, false}}}};
    for (const auto& [what, events] : cases) {
        HotKeyGate gate;
        for (std::size_t i = 0; i < events.size(); ++i) {
            const Event& e = events[i];
            if (e.kind == FocusLost) gate.disarm();
            EXPECT_EQ(e.kind == Release     ? gate.release(e.synthetic)
                      : e.kind != FocusLost && gate.press(grabs, e.keycode, e.state, e.synthetic, [&] { return e.kind == TextPress; }),
                      e.counts) << what << ", event " << i;
        }
    }
}

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

constexpr std::uint16_t altGr = 0x80 /* Mod5 */, secondLayout = 1 << 13;

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
