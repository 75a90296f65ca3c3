#include "window/form2.h"

#include <cmath>
#include <utility>

namespace horatta {

Form2::Form2(Build build, Platform& platform, std::function<void()> beforePowerOff)
    : Height(heightFor(build)), platform_(platform), beforePowerOff_(std::move(beforePowerOff)) {}

float Form2::heightFor(Build build) { return build == Build::Masked ? 3600.0f : 1395.0f; }

std::int32_t Form2::hotKeyValue() {
    // Modifier byte 6 (Ctrl 2 + Alt 4) above the virtual-key code 90 (Z).
    return static_cast<std::int32_t>(std::pow(2.0, 8) * 6 + 90);
}

void Form2::Form_Load() { platform_.setHotKey(ControlId::Form2, hotKeyValue()); }

void Form2::Form_KeyUp(std::int16_t, std::int16_t) {
    // Any key, with no question: the hot key has already been pressed on purpose.
    if (beforePowerOff_) beforePowerOff_();
    PowerOffSequence(platform_);
}

}  // namespace horatta
