#pragma once

#include <string_view>

namespace horatta::utf16 {

// The model counts positions in characters (code points); the native text widgets count
// UTF-16 units. A surrogate pair is one character, a lone surrogate one too; positions are
// clamped to the text.
int charactersBefore(std::u16string_view text, int units);
int unitsBefore(std::u16string_view text, int characters);
// The number of characters in the text.
inline int length(std::u16string_view text) { return charactersBefore(text, static_cast<int>(text.size())); }

}  // namespace horatta::utf16
