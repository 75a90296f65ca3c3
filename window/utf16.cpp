#include "window/utf16.h"

namespace horatta::utf16 {

namespace {
bool isHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
// The units the character starting at `i` takes.
std::size_t unitsAt(std::u16string_view text, std::size_t i) {
    return isHigh(text[i]) && i + 1 < text.size() && isLow(text[i + 1]) ? 2 : 1;
}
}  // namespace

int charactersBefore(std::u16string_view text, int units) {
    const std::size_t end = units > 0 ? static_cast<std::size_t>(units) : 0;
    int characters = 0;
    for (std::size_t i = 0; i < end && i < text.size(); ++characters) i += unitsAt(text, i);
    return characters;
}

int unitsBefore(std::u16string_view text, int characters) {
    std::size_t i = 0;
    for (int n = 0; n < characters && i < text.size(); ++n) i += unitsAt(text, i);
    return static_cast<int>(i);
}

}  // namespace horatta::utf16
