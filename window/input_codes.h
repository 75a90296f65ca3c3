#pragma once

#include <cstdint>

namespace horatta {

// Mouse buttons and shift keys as the press and key handlers take them; each shell maps its
// toolkit's buttons and modifiers onto these bits.
inline constexpr std::int16_t buttonLeft = 1;
inline constexpr std::int16_t buttonRight = 2;
inline constexpr std::int16_t buttonMiddle = 4;

inline constexpr std::int16_t shiftMask = 1;
inline constexpr std::int16_t ctrlMask = 2;
inline constexpr std::int16_t altMask = 4;

// The shift state from the three keys held.
constexpr std::int16_t shiftBits(bool shift, bool ctrl, bool alt) {
    return static_cast<std::int16_t>((shift ? shiftMask : 0) | (ctrl ? ctrlMask : 0) | (alt ? altMask : 0));
}

}  // namespace horatta
