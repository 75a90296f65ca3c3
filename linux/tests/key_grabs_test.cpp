#include "linux/hotkey/key_grabs.h"
#include "linux/hotkey/hot_key_gate.h"

#include <gtest/gtest.h>

#include <algorithm>

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

}  // namespace
}  // namespace horatta::hotkey
