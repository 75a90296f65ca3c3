#include "linux/hotkey/key_grabs.h"

#include <algorithm>

namespace horatta::hotkey {

namespace {

constexpr std::uint32_t keysymF1 = 0xffbe;

}  // namespace

std::optional<HotKey> hotKeyFromValue(std::int32_t value) {
    if (value <= 0 || value > 0xffff) return std::nullopt;
    const int virtualKey = value & 0xff;
    const int flags = (value >> 8) & 0xff;

    HotKey key;
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        key.keysym = static_cast<std::uint32_t>(virtualKey - 'A' + 'a');
        key.shiftedKeysym = static_cast<std::uint32_t>(virtualKey);
    } else if (virtualKey >= '0' && virtualKey <= '9') {
        key.keysym = key.shiftedKeysym = static_cast<std::uint32_t>(virtualKey);
    } else if (virtualKey >= 0x70 && virtualKey <= 0x87) {
        key.keysym = key.shiftedKeysym = keysymF1 + static_cast<std::uint32_t>(virtualKey - 0x70);
    } else {
        return std::nullopt;
    }
    if (flags & 1) key.modifiers |= shiftMask;
    if (flags & 2) key.modifiers |= controlMask;
    if (flags & 4) key.modifiers |= mod1Mask;
    return key;
}

std::vector<std::uint8_t> keycodesFor(const KeyboardMapping& keyboard, std::uint32_t keysym,
                                      std::size_t columns) {
    std::vector<std::uint8_t> found;
    const std::size_t perKeycode = keyboard.keysymsPerKeycode;
    if (perKeycode == 0 || keysym == 0) return found;
    for (std::size_t i = 0; i < keyboard.keysyms.size(); ++i) {
        if (keyboard.keysyms[i] != keysym || i % perKeycode >= columns) continue;
        const std::size_t keycode = keyboard.firstKeycode + i / perKeycode;
        if (keycode > 255) break;
        const auto code = static_cast<std::uint8_t>(keycode);
        if (found.empty() || found.back() != code) found.push_back(code);
    }
    return found;
}

std::uint16_t numLockMask(const KeyboardMapping& keyboard, const ModifierMapping& modifiers) {
    const std::vector<std::uint8_t> numLockKeys = keycodesFor(keyboard, numLockKeysym);
    const std::size_t perModifier = modifiers.keycodesPerModifier;
    for (std::size_t i = 0; perModifier > 0 && i < modifiers.keycodes.size() && i / perModifier < 8; ++i) {
        const std::uint8_t keycode = modifiers.keycodes[i];
        if (keycode != 0 && std::ranges::find(numLockKeys, keycode) != numLockKeys.end()) {
            return static_cast<std::uint16_t>(1u << (i / perModifier));
        }
    }
    return mod2Mask;
}

std::vector<Grab> grabsFor(const HotKey& hotKey, const KeyboardMapping& keyboard,
                           const ModifierMapping& modifiers) {
    constexpr std::size_t firstGroup = 2;
    std::vector<std::uint8_t> keycodes;
    for (std::size_t columns : {firstGroup, std::size_t{255}}) {
        for (std::uint32_t keysym : {hotKey.keysym, hotKey.shiftedKeysym}) {
            for (std::uint8_t code : keycodesFor(keyboard, keysym, columns)) keycodes.push_back(code);
        }
        if (!keycodes.empty()) break;
    }
    std::ranges::sort(keycodes);
    keycodes.erase(std::unique(keycodes.begin(), keycodes.end()), keycodes.end());

    const std::uint16_t numLock = numLockMask(keyboard, modifiers);
    std::vector<std::uint16_t> lockStates{0, lockMask, numLock, static_cast<std::uint16_t>(lockMask | numLock)};
    // A layout that puts NumLock on Lock or on a modifier of the hot key itself would give
    // the same state twice, and a second identical grab would fail against our own first.
    for (auto& state : lockStates) state = static_cast<std::uint16_t>(state | hotKey.modifiers);
    std::ranges::sort(lockStates);
    lockStates.erase(std::unique(lockStates.begin(), lockStates.end()), lockStates.end());

    std::vector<Grab> grabs;
    for (std::uint8_t keycode : keycodes) {
        for (std::uint16_t state : lockStates) grabs.push_back({keycode, state});
    }
    return grabs;
}

bool isGrabbedPress(const std::vector<Grab>& grabs, std::uint8_t keycode, std::uint16_t state) {
    const auto modifiers = static_cast<std::uint16_t>(state & keyModifierMask);
    return std::ranges::any_of(grabs, [&](const Grab& g) { return g.keycode == keycode && g.modifiers == modifiers; });
}

}  // namespace horatta::hotkey
