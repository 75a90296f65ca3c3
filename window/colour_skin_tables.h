#pragma once

#include <array>
#include <cstdint>

#include "window/controls.h"

namespace horatta {

struct ColorRow {
    Color step;     // applied by a colour step
    Color startUp;  // applied by the restore at start-up
};

inline constexpr int colorCount = 12;
inline constexpr int skinCount = 8;
extern const std::array<ColorRow, colorCount> colorTable;
// The picture box whose picture each skin index copies into Picture1.
extern const std::array<ControlId, skinCount> skinTable;

inline constexpr int defaultColorIndex = 11;
inline constexpr int defaultSkinIndex = 2;

// The next index of a cycle of `count` rows: only the last one wraps to 0, and an
// out-of-range index keeps counting up, wrapping to 0 past the largest 16-bit value.
std::int16_t advanceIndex(std::int16_t index, int count);
// The index `by` rows back in a cycle of `count` rows, wrapping below 0 to the end; a
// negative index stays where it is.
std::int16_t stepBackIndex(std::int16_t index, int by, int count);

}  // namespace horatta
