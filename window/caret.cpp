#include "window/caret.h"

#include <cstdlib>

#include "window/utf8.h"

namespace horatta {

std::string_view textBeforeCaret(std::string_view text, int index) {
    return text.substr(0, utf8::offset(text, index > 0 ? static_cast<std::size_t>(index) : 0));
}

int caretNearest(std::string_view text, int x, const std::function<int(int index)>& caretX) {
    const int length = static_cast<int>(utf8::length(text));
    int best = 0;
    int bestDistance = std::abs(caretX(0) - x);
    for (int i = 1; i <= length; ++i) {
        const int distance = std::abs(caretX(i) - x);
        if (distance < bestDistance) best = i, bestDistance = distance;
    }
    return best;
}

}  // namespace horatta
