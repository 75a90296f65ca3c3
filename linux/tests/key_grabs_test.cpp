#include "linux/hotkey/key_grabs.h"
#include "linux/hotkey/hot_key_gate.h"

#include <gtest/gtest.h>

namespace horatta::hotkey {
namespace {

constexpr std::uint16_t ctrlAlt = controlMask | mod1Mask;
const HotKey ctrlAltZ{'z', 'Z', ctrlAlt};

TEST(HotKeyValue, ReadsTheKeyAndItsModifiers) {
    const std::pair<std::int32_t, std::optional<HotKey>> cases[] = {
        {0x065A, ctrlAltZ},
        {0x0E5A, ctrlAltZ},  // the extended-key flag changes nothing
        {0x0141, HotKey{'a', 'A', shiftMask}},
        {0x0231, HotKey{'1', '1', controlMask}},
        {0x0470, HotKey{0xffbe, 0xffbe, mod1Mask}},  // Alt+F1
        {0x0087, HotKey{0xffd5, 0xffd5, 0}},         // F24 alone
        {0, std::nullopt},
        {0x0600, std::nullopt},   // modifiers without a key
        {0x060D, std::nullopt},   // Enter: not a key a hot key can use here
        {0x1065A, std::nullopt},  // wider than the 16-bit word
    };
    for (const auto& [value, key] : cases) EXPECT_EQ(hotKeyFromValue(value), key) << value;
}

// A small keyboard from keycode 8 with two keysyms per keycode:
//   8: a A   9: z Z   10: Num_Lock   11: (none)   12: y Z (a second key that types Z shifted)
const KeyboardMapping keyboard{8, 2, {'a', 'A', 'z', 'Z', numLockKeysym, 0, 0, 0, 'y', 'Z'}};

ModifierMapping numLockOn(int modifier) {
    ModifierMapping m{2, std::vector<std::uint8_t>(16, 0)};
    m.keycodes[std::size_t(modifier) * 2 + 1] = 10;
    return m;
}

TEST(KeyGrabs, FindsWhereNumLockIs) {
    EXPECT_EQ(numLockMask(keyboard, numLockOn(7)), 0x80);  // Mod5
    EXPECT_EQ(numLockMask(keyboard, ModifierMapping{2, std::vector<std::uint8_t>(16, 0)}), mod2Mask);  // nowhere
}

TEST(KeyGrabs, GrabsTheHotKeyInEveryLockState) {
    const std::vector<Grab> expected{
        {9, ctrlAlt}, {9, ctrlAlt | lockMask}, {9, ctrlAlt | mod2Mask}, {9, ctrlAlt | lockMask | mod2Mask},
        {12, ctrlAlt}, {12, ctrlAlt | lockMask}, {12, ctrlAlt | mod2Mask}, {12, ctrlAlt | lockMask | mod2Mask},
    };
    EXPECT_EQ(grabsFor(ctrlAltZ, keyboard, numLockOn(4)), expected);
    EXPECT_TRUE(grabsFor(HotKey{'q', 'Q', controlMask}, keyboard, numLockOn(4)).empty());
}

TEST(KeyGrabs, NeverAsksForTheSameGrabTwice) {
    // NumLock placed on Lock, or on Alt, folds states together; our own second grab would fail.
    for (int modifier : {1, 3}) {
        EXPECT_EQ(grabsFor(HotKey{'z', 'z', ctrlAlt}, keyboard, numLockOn(modifier)),
                  (std::vector<Grab>{{9, ctrlAlt}, {9, ctrlAlt | lockMask}}));
    }
}

TEST(KeyGrabs, TakesTheKeyFromTheFirstLayout) {
    const ModifierMapping none{1, std::vector<std::uint8_t>(8, 0)};
    // English first, German second: Z and Y change places in the second group.
    const KeyboardMapping twoLayouts{8, 4, {'y', 'Y', 'z', 'Z', 'z', 'Z', 'y', 'Y'}};
    const auto grabs = grabsFor(HotKey{'z', 'Z', controlMask}, twoLayouts, none);
    ASSERT_FALSE(grabs.empty());
    for (const Grab& g : grabs) EXPECT_EQ(g.keycode, 9);
    // A key only the second layout has is taken from there: Cyrillic first, Latin second.
    const auto fromSecond = grabsFor(HotKey{'a', 'A', controlMask}, KeyboardMapping{8, 4, {0x6c1, 0x6e1, 'a', 'A'}}, none);
    ASSERT_FALSE(fromSecond.empty());
    EXPECT_EQ(fromSecond.front().keycode, 8);
}

TEST(KeyGrabs, RecognisesOnlyTheGrabbedPress) {
    const auto grabs = grabsFor(ctrlAltZ, keyboard, numLockOn(4));
    constexpr std::uint16_t button1 = 0x100;
    EXPECT_TRUE(isGrabbedPress(grabs, 9, ctrlAlt | lockMask | mod2Mask));
    EXPECT_TRUE(isGrabbedPress(grabs, 12, ctrlAlt | button1));  // a held mouse button is no modifier
    EXPECT_FALSE(isGrabbedPress(grabs, 9, controlMask));
    EXPECT_FALSE(isGrabbedPress(grabs, 9, ctrlAlt | shiftMask));
    EXPECT_FALSE(isGrabbedPress(grabs, 8, ctrlAlt));
}

// Key events as the hot key sees them, each with what the gate must make of it: only a
// real hot key arms, only real releases after it count, until the keyboard goes elsewhere.
TEST(HotKeyGate, OnlyTheUsersOwnKeysCount) {
    const auto grabs = grabsFor(ctrlAltZ, keyboard, numLockOn(4));
    enum Kind { Press, Release, FocusLost };
    struct Event {
        Kind kind;
        std::uint8_t keycode;
        bool synthetic;
        bool counts;
    };
    constexpr std::uint8_t z = 9, other = 8;
    const std::pair<const char*, std::vector<Event>> cases[] = {
        {"a release with nothing armed", {{Release, z, false, false}}},
        {"a made-up hot key and release", {{Press, z, true, false}, {Release, z, true, false}, {Release, z, false, false}}},
        {"a made-up release after the real hot key", {{Press, z, false, true}, {Release, other, true, false}}},
        {"every real release after the hot key", {{Press, z, false, true}, {Release, other, false, true}, {Release, z, false, true}}},
        {"the keyboard gone elsewhere", {{Press, z, false, true}, {FocusLost, 0, false, false}, {Release, z, false, false}}},
        {"another key pressed is no hot key", {{Press, other, false, false}, {Release, other, false, false}}},
    };
    for (const auto& [what, events] : cases) {
        HotKeyGate gate;
        int i = 0;
        for (const Event& e : events) {
            bool counted = false;
            if (e.kind == Press) counted = gate.press(grabs, e.keycode, ctrlAlt, e.synthetic);
            if (e.kind == Release) counted = gate.release(e.synthetic);
            if (e.kind == FocusLost) gate.disarm();
            EXPECT_EQ(counted, e.counts) << what << ", event " << i++;
        }
    }
}

}  // namespace
}  // namespace horatta::hotkey
