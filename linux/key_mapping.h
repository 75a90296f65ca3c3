#pragma once

#include <QString>
#include <Qt>
#include <cstdint>
#include <optional>

#include "window/time_field.h"

namespace horatta::shell {

// The character code a key-press handler receives for a key, as a 16-bit value: the
// typed character, or Backspace 8, Enter 13, Escape 27. Keys that type nothing (arrows,
// function keys, a character outside 16 bits) have none.
std::optional<std::int16_t> keyAsciiFor(int qtKey, const QString& text);

// The caret and delete keys a time field handles itself.
std::optional<EditKey> editKeyFor(int qtKey);

// The character a handler put in place of the typed one, for inserting into a text box;
// nothing when it is a control code that inserts nothing.
std::optional<QString> textForKeyAscii(std::int16_t code);

}  // namespace horatta::shell
