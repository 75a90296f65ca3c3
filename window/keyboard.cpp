#include "window/form1.h"

namespace horatta {

// Where the keyboard goes and what the time fields do with the keys a shell forwards: the core
// decides both, so that every typing rule holds without a window.

void Form1::SetFocus(ControlId target) {
    platform_.setFocus(target);
    focusArrived(target);
}

void Form1::focusArrived(ControlId target) {
    if (focus_ == target) return;
    focus_ = target;
    switch (target) {
        case ControlId::MaskEdBox1: MaskEdBox1_GotFocus(); break;
        case ControlId::MaskEdBox2: MaskEdBox2_GotFocus(); break;
        case ControlId::Text3: Text3_GotFocus(); break;
        case ControlId::Text4: Text4_GotFocus(); break;
        case ControlId::Text1: Text1_GotFocus(); break;
        case ControlId::Text2: Text2_GotFocus(); break;
        default: break;
    }
}

void Form1::focusLeaves(ControlId hidden) {
    if (focus_ == hidden) SetFocus(ControlId::Picture1);
}

void Form1::timeFieldKeyPress(ControlId field, std::int16_t keyAscii) {
    // A key can outrun the focus (typed while the blink has not yet handed the field the
    // keyboard): the field's focus handler runs first, as it would have.
    if (focus_ != field) {
        focusArrived(field);
        if (focus_ != field) return;  // the focus handler applied the entry and closed the field
    }
    switch (field) {
        case ControlId::MaskEdBox1: maskedbox1_keyPress(keyAscii); break;
        case ControlId::MaskEdBox2: MaskEdBox2_KeyPress(keyAscii); break;
        case ControlId::Text3: text3_keyPress(keyAscii); break;
        case ControlId::Text4: Text4_KeyPress(keyAscii); break;
        default: return;
    }
    (field == shutdownFieldId() ? shutdownField() : reminderField()).typeChar(keyAscii);
}

void Form1::timeFieldEditKey(ControlId field, EditKey key) {
    if (field == shutdownFieldId()) shutdownField().editKey(key);
    else if (field == reminderFieldId()) reminderField().editKey(key);
}

}  // namespace horatta
