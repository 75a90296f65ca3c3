#include <string>

#include "settings/setting_names.h"
#include "window/form1.h"

namespace horatta {

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
    colorIndex = advanceIndex(colorIndex, colorCount);
}

void Form1::stepSkin() {
    if (skinIndex >= 0 && skinIndex < skinCount)
        Picture1.Picture = pictureBox(skinTable[static_cast<std::size_t>(skinIndex)]).Picture;
    writeSetting(setting::skinIndex, std::to_string(skinIndex));
    skinIndex = advanceIndex(skinIndex, skinCount);
}

void Form1::undoColorStep() { Label1.ForeColor = Label3.ForeColor; }

void Form1::holdColorAndSkin() {
    // Back by two: one for the step the first press made, one because the index is always
    // one ahead of what is shown.
    colorIndex = stepBackIndex(colorIndex, 2, colorCount);
    Picture = Picture1.Picture;
    Picture1.Picture = Picture2.Picture;
}

void Form1::commitColorAndSkin() {
    Label1.ForeColor = Label3.ForeColor;
    writeSetting(setting::colorIndexApplied, std::to_string(colorIndex));
    colorIndex = advanceIndex(colorIndex, colorCount);
    Picture1.Picture = Picture;
}

}  // namespace horatta
