#pragma once

#include <functional>
#include <string_view>

namespace horatta {

// The part of a UTF-8 text before the caret at `index` (in characters, clamped to the text):
// what a shell measures to place the caret there.
std::string_view textBeforeCaret(std::string_view text, int index);

// Where a press at `x` puts the caret in a field showing `text`: the index (0 to the text's
// length) whose caret, at `caretX(index)` as the shell draws it, lies nearest; the first of
// two as near.
int caretNearest(std::string_view text, int x, const std::function<int(int index)>& caretX);

}  // namespace horatta
