#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "settings/setting_names.h"
#include "window/form1.h"

namespace horatta {

namespace {

// A window edge as start-up reads it back: plain decimal notation, no exponent, and no
// fraction for a whole number of twips ("600", "-150", "13605.5").
std::string positionText(float twips) {
    if (!std::isfinite(twips)) return "0";
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), twips, std::chars_format::fixed);
    return std::string(buffer.data(), result.ptr);
}

}  // namespace

void Form1::Label3_MouseDown(std::int16_t button, std::int16_t, float, float) {
    // The move blocks until the button is released; the scroll toggle follows it.
    const WindowPosition moved = platform_.dragWindow(ControlId::Form1, {Left, Top});
    Left = moved.left;
    Top = moved.top;
    if (button != buttonLeft) scrollToggle(button);
}

void Form1::screensChanged() { keepOnScreen(); }

void Form1::Label3_DblClick() {
    if (faceMode() == FaceMode::Countdown || reminderAlertOn == 1) {
        // Stop the alert or the countdown, whichever runs.
        reminderAlertOn = 0;
        Timer1.setInterval(faceClockIntervalMs);
        cancelPowerOffForThisRun();
        return;
    }
    EndSession();
}

void Form1::SaveWindowState() {
    // One write: an end between the values would keep a top without its left.
    writeSettings({{setting::scrollMode, std::to_string(scrollOn)},
                   {setting::faceShowedTime, Label1.caption() == timeText() ? "1" : "2"},
                   {setting::windowTop, positionText(Top)},
                   {setting::windowLeft, positionText(Left)}});
}

void Form1::EndSession() {
    SaveWindowState();
    platform_.endProgram();
}

}  // namespace horatta
