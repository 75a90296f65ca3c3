#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/platform.h"
#include "platform/power_off.h"
#include "window/build.h"
#include "window/controls.h"

namespace horatta {

// The hot-key window: a window of zero width whose only job is the immediate power-off.
// Ctrl+Alt+Z activates it; the next key released in it powers the computer off.
class Form2 {
public:
    // `beforePowerOff` stores what the clock window keeps, as at every end of the program.
    Form2(Build build, Platform& platform, std::function<void()> beforePowerOff = {});

    std::string Caption = "Form2";
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height;
    Color BackColor = Color::rgb(192, 0, 0);

    // Its height in twips in each build, which a shell's window has before start-up too.
    static float heightFor(Build build);

    // Virtual-key code Z with the modifiers Ctrl (2) and Alt (4) in the high byte.
    static std::int32_t hotKeyValue();

    void Form_Load();
    // Any key released here powers the computer off at once.
    void Form_KeyUp(std::int16_t keyCode, std::int16_t shift);

private:
    Platform& platform_;
    std::function<void()> beforePowerOff_;
};

}  // namespace horatta
