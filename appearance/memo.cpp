#include "settings/setting_names.h"
#include "window/form1.h"
#include "window/utf8.h"

namespace horatta {

namespace {

// Selecting the whole text on focus lets the user overtype it at once.
void selectAll(TextBox& box) {
    box.SelStart = 0;
    box.SelLength = static_cast<int>(utf8::length(box.Text));
}

}  // namespace

void Form1::Picture1_Click() {
    // Only over the plain, resting clock with both panels closed.
    const bool faceAtRest = Picture2.Top == 0 && !Text2.Visible && Label1.Visible && Label1.Left == faceRestLeft &&
                            Timer1.enabled() && scrollOn == 0;
    if (!faceAtRest) return;

    Text2.Visible = true;
    Text2.Top = 15;
    Height = stripHeight;
    while (Text2.Top <= 290) {
        Height += 10;
        Text2.Top += 10;
    }
    SetFocus(ControlId::Text2);
}

void Form1::Text1_GotFocus() { selectAll(Text1); }
void Form1::Text2_GotFocus() { selectAll(Text2); }

// Enter and a double-click both close the memo and store it exactly as typed.
void Form1::Text2_KeyPress(std::int16_t& KeyAscii) {
    if (KeyAscii != keyEnter) return;
    KeyAscii = 0;
    Text2.Visible = false;
    Text2.Top = 20;
    focusLeaves(ControlId::Text2);
    Height = stripHeight;
    writeSetting(setting::memo, Text2.Text);
}

void Form1::Text2_DblClick() {
    Text2.Visible = false;
    Text2.Top = 20;
    focusLeaves(ControlId::Text2);
    Height = stripHeight;
    writeSetting(setting::memo, Text2.Text);
}

// Closing the reminder message leaves the reminder armed and its text as it is.
void Form1::Text1_KeyPress(std::int16_t& KeyAscii) {
    if (KeyAscii != keyEnter) return;
    KeyAscii = 0;
    Text1.Visible = false;
    Text1.Top = 360;
    reminderField().Visible = false;
    focusLeaves(ControlId::Text1);
    focusLeaves(reminderFieldId());
    Picture2.Top = 0;
    Picture2.Visible = true;
    Label1.Visible = true;
    Height = stripHeight;
}

// Unlike Enter, the double-click also closes a shutdown-time entry left open.
void Form1::Text1_DblClick() {
    Text1.Visible = false;
    Text1.Top = 360;
    reminderField().Visible = false;
    Picture2.Top = 0;
    Picture2.Visible = true;
    shutdownField().Visible = false;
    focusLeaves(ControlId::Text1);
    focusLeaves(reminderFieldId());
    focusLeaves(shutdownFieldId());
    Label1.Visible = true;
    Height = stripHeight;
}

}  // namespace horatta
