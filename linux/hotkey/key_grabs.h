#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// Which X11 key grabs make up one global hot key. Plain data in, plain data out, so that
// every rule can be checked without an X server.
namespace horatta::hotkey {

// X11 modifier bits.
inline constexpr std::uint16_t shiftMask = 0x01;
inline constexpr std::uint16_t lockMask = 0x02;
inline constexpr std::uint16_t controlMask = 0x04;
inline constexpr std::uint16_t mod1Mask = 0x08;  // Alt
inline constexpr std::uint16_t mod2Mask = 0x10;  // NumLock on most keyboards
inline constexpr std::uint16_t keyModifierMask = 0xff;

inline constexpr std::uint32_t numLockKeysym = 0xff7f;

struct HotKey {
    std::uint32_t keysym = 0;       // as the key is usually labelled (lower case for letters)
    std::uint32_t shiftedKeysym = 0;
    std::uint16_t modifiers = 0;    // X11 modifier bits
    bool operator==(const HotKey&) const = default;
};

// The hot key of a Windows-style hot-key word: the low byte a virtual-key code, the high
// byte the modifiers (1 Shift, 2 Ctrl, 4 Alt). Letters, digits and F1 to F24 are
// understood; zero, or any other key, is no hot key.
std::optional<HotKey> hotKeyFromValue(std::int32_t value);

// The server's keyboard mapping: keysymsPerKeycode keysyms for each keycode from
// firstKeycode on.
struct KeyboardMapping {
    std::uint8_t firstKeycode = 8;
    std::uint8_t keysymsPerKeycode = 0;
    std::vector<std::uint32_t> keysyms;
};

// The server's modifier mapping: keycodesPerModifier keycodes for each of the eight
// modifiers (Shift, Lock, Control, Mod1 .. Mod5); zero fills unused places.
struct ModifierMapping {
    std::uint8_t keycodesPerModifier = 0;
    std::vector<std::uint8_t> keycodes;
};

// Every keycode that produces the keysym in one of the first columns of its keysyms (all
// columns by default; the first two are the first group's plain and shifted levels), in
// ascending order.
std::vector<std::uint8_t> keycodesFor(const KeyboardMapping& keyboard, std::uint32_t keysym,
                                      std::size_t columns = 255);

// The modifier bit that NumLock sets, found from the mappings; Mod2 where it cannot be found.
std::uint16_t numLockMask(const KeyboardMapping& keyboard, const ModifierMapping& modifiers);

struct Grab {
    std::uint8_t keycode = 0;
    std::uint16_t modifiers = 0;
    bool operator==(const Grab&) const = default;
};

// A passive grab matches its modifiers exactly, so the hot key is grabbed once for each
// state of CapsLock and NumLock: it must work whichever of them happens to be on. The key
// is looked for in the first layout; only a key that the first layout lacks is taken from
// the others, so that with two layouts (English and German, say) the hot key does not
// also sit on the key that is Y in the first one.
std::vector<Grab> grabsFor(const HotKey& hotKey, const KeyboardMapping& keyboard,
                           const ModifierMapping& modifiers);

// Whether a key press with this keycode and modifier state is one of the grabs.
bool isGrabbedPress(const std::vector<Grab>& grabs, std::uint8_t keycode, std::uint16_t state);

}  // namespace horatta::hotkey
