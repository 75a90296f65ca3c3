#pragma once

#include "win32/win32.h"

#include <string>

namespace horatta::shell {

// What the keyboard layout of the program the user types in makes of the hot key's chord.
// Windows reports AltGr as Ctrl+Alt, so on many layouts the hot key's keys type a character
// (AltGr+Z, or Ctrl+Alt+Z, types "ż" on a Polish keyboard); such a chord is text, never the
// hot key.
struct ChordReport {
    std::wstring typed;          // the characters the key types with the chord's modifiers
    bool deadKey = false;        // the key, so modified, begins a character
    bool rightAltHeld = false;
    bool layoutHasAltGr = false;  // the layout types characters with Ctrl+Alt: its right Alt is AltGr
};

// Whether the chord is text: it types a character or begins one, or it was made with AltGr
// on a layout that has one, which chooses characters and is no Ctrl+Alt.
bool chordIsText(const ChordReport& chord);

// The chord Ctrl+Alt and this key, as the layout of the window in front reports it, with
// the Shift, CapsLock and right Alt held now.
ChordReport reportChord(UINT virtualKey);

// Hands what the chord typed to the program that has the keyboard, as if the hot key had
// never taken the key.
void retype(const ChordReport& chord);

}  // namespace horatta::shell
