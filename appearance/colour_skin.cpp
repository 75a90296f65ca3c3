#include <limits>
#include <string>

#include "settings/setting_names.h"
#include "window/form1.h"

namespace horatta {

std::int16_t advanceIndex(std::int16_t index, int last) {
    if (index == last || index == std::numeric_limits<std::int16_t>::max()) return 0;
    return static_cast<std::int16_t>(index + 1);
}

void Form1::Label1_MouseDown(std::int16_t button, std::int16_t, float, float) {
    // The drag blocks until the button is released, so the step shows where the window
    // has come to rest rather than while it is being moved.
    const WindowPosition moved = platform_.dragWindow(ControlId::Form1, {Left, Top});
    Left = moved.left;
    Top = moved.top;
    if (button == buttonLeft) stepColor();
    else if (button == buttonRight) stepSkin();
}

void Form1::stepColor() {
    // Label3 is never seen; its colour is the one-step undo for a double-click.
    Label3.ForeColor = Label1.ForeColor;
    if (colorIndex >= 0 && colorIndex < colorCount)
        Label1.ForeColor = colorTable[static_cast<std::size_t>(colorIndex)].step;
    writeSetting(setting::colorIndex, std::to_string(colorIndex));
    colorIndex = advanceIndex(colorIndex, colorCount - 1);
}

void Form1::stepSkin() {
    if (skinIndex >= 0 && skinIndex < skinCount)
        Picture1.Picture = pictureBox(skinTable[static_cast<std::size_t>(skinIndex)]).Picture;
    writeSetting(setting::skinIndex, std::to_string(skinIndex));
    skinIndex = advanceIndex(skinIndex, skinCount - 1);
}

void Form1::undoColorStep() { Label1.ForeColor = Label3.ForeColor; }

void Form1::holdColorAndSkin() {
    // Back by two: one for the step the first press made, one because the index is always
    // one ahead of what is shown.
    if (colorIndex >= 2) colorIndex = static_cast<std::int16_t>(colorIndex - 2);
    else if (colorIndex == 0) colorIndex = 10;
    else if (colorIndex == 1) colorIndex = 11;
    Picture = Picture1.Picture;
    Picture1.Picture = Picture2.Picture;
}

void Form1::commitColorAndSkin() {
    Label1.ForeColor = Label3.ForeColor;
    writeSetting(setting::colorIndexApplied, std::to_string(colorIndex));
    colorIndex = advanceIndex(colorIndex, colorCount - 1);
    Picture1.Picture = Picture;
}

}  // namespace horatta
