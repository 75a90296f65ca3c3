#include "window/form1.h"

namespace horatta {

namespace {

enum class Entry { Shutdown, Reminder };

bool between(std::int16_t code, char low, char high) { return code >= low && code <= high; }

void refuse(std::int16_t& key) { key = keyRefused; }

// The plain field has no mask to supply the colons: the filter appends one when the caret
// reaches a colon's place, whatever the key, and moves the caret past it.
void appendColon(TimeField& field, int caretAfter) {
    field.setText(field.text() + ":");
    field.setSelStart(caretAfter);
}

// What both kinds of field do with a key before the field itself sees it: stop the
// blink, clear the old entry on the first real key, filter the key by caret index, and
// apply the entry on Enter.
void entryKeyPress(Form1& form, Entry entry, std::int16_t& key) {
    TimeField& field = entry == Entry::Shutdown ? form.shutdownField() : form.reminderField();
    std::int16_t& started = entry == Entry::Shutdown ? form.shutdownEntryStarted : form.reminderEntryStarted;
    const bool plain = form.build() == Build::Plain;

    form.Timer2.setEnabled(false);

    if (key != keyEnter && started == 0) {
        field.setText("");
        form.platform().showCaret(field.id);
        started = 1;
    }

    switch (field.selStart()) {
        case 0:
            form.hourTensIsTwo = 0;
            if (!between(key, '0', '2')) refuse(key);
            if (key == '2') form.hourTensIsTwo = 1;
            break;
        case 1:
            if (key < '0' || (key > '3' && form.hourTensIsTwo == 1)) refuse(key);
            break;
        case 2:
        case 5:
            if (plain) {
                const int caretAfter = field.selStart() + 1;
                if (!between(key, '0', '5')) refuse(key);
                appendColon(field, caretAfter);
            }
            break;
        case 3:
        case 6:
            if (!between(key, '0', '5')) refuse(key);
            break;
        case 8:
            if (entry == Entry::Shutdown) form.shutdownEntryDone = 1;
            // Without a mask the field would take a ninth character: the entry is complete,
            // so the key applies it at once.
            if (plain) key = keyEnter;
            break;
        default:
            break;
    }

    if (key == keyEnter) {
        if (entry == Entry::Shutdown) form.ApplyShutdownEntry();
        else form.applyReminderEntryByEnter();
    }
}

// The watch tick stays off while the power-off time is being edited, so that no countdown
// or power-off runs on a half-typed time.
void shutdownFieldGotFocus(Form1& form) {
    form.platform().hideCaret(form.shutdownFieldId());
    form.Timer3.setEnabled(false);
    form.watchResting();
    if (form.shutdownEntryDone == 1) form.ApplyShutdownEntry();
}

}  // namespace

void Form1::MaskEdBox1_GotFocus() { shutdownFieldGotFocus(*this); }
void Form1::Text3_GotFocus() { shutdownFieldGotFocus(*this); }
void Form1::MaskEdBox2_GotFocus() { platform_.hideCaret(reminderFieldId()); }
void Form1::Text4_GotFocus() { platform_.hideCaret(reminderFieldId()); }

void Form1::maskedbox1_keyPress(std::int16_t& KeyAscii) { entryKeyPress(*this, Entry::Shutdown, KeyAscii); }
void Form1::text3_keyPress(std::int16_t& KeyAscii) { entryKeyPress(*this, Entry::Shutdown, KeyAscii); }
void Form1::MaskEdBox2_KeyPress(std::int16_t& KeyAscii) { entryKeyPress(*this, Entry::Reminder, KeyAscii); }
void Form1::Text4_KeyPress(std::int16_t& KeyAscii) { entryKeyPress(*this, Entry::Reminder, KeyAscii); }

void Form1::Timer2_Timer() {
    TimeField* field = nullptr;
    if (blinkingEntry == 0) field = &shutdownField();
    else if (blinkingEntry == 1) field = &reminderField();
    if (!field) return;

    if (field->Visible) {
        field->Visible = false;
        focusLeaves(field->id);
    } else {
        // Each time it comes back it takes the keyboard, even from a click elsewhere.
        field->Visible = true;
        SetFocus(field->id);
    }
}

}  // namespace horatta
