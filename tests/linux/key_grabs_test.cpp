#include "linux/hotkey/key_grabs.h"

#include <gtest/gtest.h>

namespace horatta::hotkey {
namespace {

TEST(HotKeyValue, ReadsTheKeyAndItsModifiers) {
    struct Case {
        std::int32_t value;
        std::optional<HotKey> key;
    };
    for (const Case& c : {
             Case{0x065A, HotKey{'z', 'Z', controlMask | mod1Mask}},  // Ctrl+Alt+Z
             Case{0x0141, HotKey{'a', 'A', shiftMask}},
             Case{0x0231, HotKey{'1', '1', controlMask}},
             Case{0x0470, HotKey{0xffbe, 0xffbe, mod1Mask}},  // Alt+F1
             Case{0x0087, HotKey{0xffd5, 0xffd5, 0}},         // F24 alone
             Case{0x0E5A, HotKey{'z', 'Z', controlMask | mod1Mask}},  // the extended-key flag changes nothing
             Case{0, std::nullopt},        // no hot key
             Case{0x0600, std::nullopt},   // modifiers without a key
             Case{0x060D, std::nullopt},   // Enter: not a key a hot key can use here
             Case{-1626, std::nullopt},
             Case{0x1065A, std::nullopt},  // wider than the 16-bit word
         }) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(hotKeyFromValue(c.value), c.key);
    }
}

// A small keyboard from keycode 8 with two keysyms per keycode:
//   8: a A   9: z Z   10: Num_Lock   11: (none)   12: y Z (a second key that types Z shifted)
KeyboardMapping keyboard() {
    return {8, 2, {'a', 'A', 'z', 'Z', numLockKeysym, 0, 0, 0, 'y', 'Z'}};
}

ModifierMapping modifiersWithNumLockOn(int modifier) {
    ModifierMapping m{2, std::vector<std::uint8_t>(16, 0)};
    m.keycodes[std::size_t(modifier) * 2 + 1] = 10;
    return m;
}

TEST(KeyGrabs, FindsEveryKeycodeOfAKeysym) {
    EXPECT_EQ(keycodesFor(keyboard(), 'z'), (std::vector<std::uint8_t>{9}));
    EXPECT_EQ(keycodesFor(keyboard(), 'Z'), (std::vector<std::uint8_t>{9, 12}));
    EXPECT_EQ(keycodesFor(keyboard(), 'q'), (std::vector<std::uint8_t>{}));
    EXPECT_EQ(keycodesFor({8, 0, {}}, 'z'), (std::vector<std::uint8_t>{}));
}

TEST(KeyGrabs, FindsWhereNumLockIs) {
    EXPECT_EQ(numLockMask(keyboard(), modifiersWithNumLockOn(4)), mod2Mask);
    EXPECT_EQ(numLockMask(keyboard(), modifiersWithNumLockOn(7)), 0x80);  // Mod5
    EXPECT_EQ(numLockMask(keyboard(), ModifierMapping{2, std::vector<std::uint8_t>(16, 0)}), mod2Mask);
    EXPECT_EQ(numLockMask({8, 2, {'a', 'A'}}, modifiersWithNumLockOn(5)), mod2Mask);
}

TEST(KeyGrabs, GrabsTheHotKeyInEveryLockState) {
    const HotKey ctrlAltZ{'z', 'Z', controlMask | mod1Mask};
    const std::uint16_t mods = controlMask | mod1Mask;
    const auto grabs = grabsFor(ctrlAltZ, keyboard(), modifiersWithNumLockOn(4));
    const std::vector<Grab> expected{
        {9, mods}, {9, mods | lockMask}, {9, mods | mod2Mask}, {9, mods | lockMask | mod2Mask},
        {12, mods}, {12, mods | lockMask}, {12, mods | mod2Mask}, {12, mods | lockMask | mod2Mask},
    };
    EXPECT_EQ(grabs, expected);
}

TEST(KeyGrabs, NeverAsksForTheSameGrabTwice) {
    // NumLock placed on Lock, or on Alt, folds states together.
    const HotKey ctrlAltZ{'z', 'z', controlMask | mod1Mask};
    const std::uint16_t mods = controlMask | mod1Mask;
    EXPECT_EQ(grabsFor(ctrlAltZ, keyboard(), modifiersWithNumLockOn(1)),
              (std::vector<Grab>{{9, mods}, {9, mods | lockMask}}));
    EXPECT_EQ(grabsFor(ctrlAltZ, keyboard(), modifiersWithNumLockOn(3)),
              (std::vector<Grab>{{9, mods}, {9, mods | lockMask}}));
}

TEST(KeyGrabs, TakesTheKeyFromTheFirstLayout) {
    // English first, German second: Z and Y change places in the second group.
    const KeyboardMapping twoLayouts{8, 4, {'y', 'Y', 'z', 'Z',    // 8: Y in English, Z in German
                                            'z', 'Z', 'y', 'Y'}};  // 9: Z in English, Y in German
    const ModifierMapping none{1, std::vector<std::uint8_t>(8, 0)};
    const auto grabs = grabsFor(HotKey{'z', 'Z', controlMask}, twoLayouts, none);
    ASSERT_FALSE(grabs.empty());
    for (const Grab& g : grabs) EXPECT_EQ(g.keycode, 9);

    // A key only the second layout has is taken from there.
    const KeyboardMapping latinSecond{8, 4, {0x6c1, 0x6e1, 'a', 'A'}};  // Cyrillic first, Latin second
    const auto fromSecond = grabsFor(HotKey{'a', 'A', controlMask}, latinSecond, none);
    ASSERT_FALSE(fromSecond.empty());
    EXPECT_EQ(fromSecond.front().keycode, 8);
}

TEST(KeyGrabs, AKeyTheKeyboardLacksIsNotGrabbed) {
    EXPECT_TRUE(grabsFor(HotKey{'q', 'Q', controlMask}, keyboard(), modifiersWithNumLockOn(4)).empty());
}

TEST(KeyGrabs, RecognisesOnlyTheGrabbedPress) {
    const std::uint16_t mods = controlMask | mod1Mask;
    const auto grabs = grabsFor(HotKey{'z', 'Z', mods}, keyboard(), modifiersWithNumLockOn(4));
    constexpr std::uint16_t button1 = 0x100;
    EXPECT_TRUE(isGrabbedPress(grabs, 9, mods));
    EXPECT_TRUE(isGrabbedPress(grabs, 9, mods | lockMask | mod2Mask));
    EXPECT_TRUE(isGrabbedPress(grabs, 12, mods | button1));  // a held mouse button is no modifier
    EXPECT_FALSE(isGrabbedPress(grabs, 9, controlMask));
    EXPECT_FALSE(isGrabbedPress(grabs, 9, mods | shiftMask));
    EXPECT_FALSE(isGrabbedPress(grabs, 8, mods));
}

}  // namespace
}  // namespace horatta::hotkey
