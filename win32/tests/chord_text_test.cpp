#include <gtest/gtest.h>

#include "win32/hotkey/chord_text.h"

namespace horatta::shell {
namespace {

// What Windows' layouts report for the Z key with Ctrl+Alt (AltGr being Ctrl+Alt there), and
// whether the chord is then text or the hot key.
TEST(HotKeyChord, AChordThatTypesOnTheLayoutIsText) {
    const struct { const char* what; ChordReport chord; bool text; } cases[] = {
        {"English (US), Ctrl+Alt+Z", {L"", false, false, false}, false}, {"German, left Ctrl+Alt+Z", {L"", false, false, true}, false},
        {"English (US), Ctrl+right Alt+Z: no AltGr there", {L"", false, true, false}, false},
        {"Polish (programmers), AltGr+Z: ż", {L"\u017c", false, true, true}, true},
        {"Polish (programmers), left Ctrl+Alt+Z: ż as well", {L"\u017c", false, false, true}, true},
        {"United States-International, AltGr+Z: æ", {L"\u00e6", false, true, true}, true},
        {"German, AltGr+Z: nothing, but AltGr is no Ctrl+Alt", {L"", false, true, true}, true},
        {"a layout whose Ctrl+Alt+Z begins a character", {L"", true, false, true}, true},
        {"a layout that gives a control character", {L"\x1a", false, false, false}, false}};
    for (const auto& c : cases) EXPECT_EQ(chordIsText(c.chord), c.text) << c.what;
}

}  // namespace
}  // namespace horatta::shell
