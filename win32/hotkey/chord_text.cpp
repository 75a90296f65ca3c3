#include "win32/hotkey/chord_text.h"

#include <algorithm>
#include <vector>

namespace horatta::shell {

namespace {

// Leaves the keyboard's dead-key state as it was (Windows 10 and later); older systems keep
// the dead key, so it is typed through once more to clear it.
constexpr UINT keepKeyboardState = 4;

bool isCharacter(wchar_t c) { return c >= 0x20 && c != 0x7f && !(c >= 0x80 && c < 0xa0); }

// What the key types with these keys held: the characters, or -1 for a dead key.
int typed(UINT virtualKey, const BYTE* keys, HKL layout, std::wstring& text) {
    wchar_t buffer[8] = {};
    const UINT scan = MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, layout);
    const int n = ToUnicodeEx(virtualKey, scan, keys, buffer, 8, keepKeyboardState, layout);
    if (n < 0) ToUnicodeEx(virtualKey, scan, keys, buffer, 8, keepKeyboardState, layout);
    text.assign(buffer, static_cast<std::size_t>(std::clamp(n, 0, 8)));
    return n;
}

bool hasAltGr(HKL layout) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = keys[VK_LCONTROL] = keys[VK_MENU] = keys[VK_RMENU] = 0x80;
    std::wstring text;
    for (UINT key = '0'; key <= VK_OEM_102; ++key) {
        const bool letterOrDigit = (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
        const bool punctuation = key >= VK_OEM_1 && key <= VK_OEM_102;
        if (!letterOrDigit && !punctuation) continue;
        if (const int n = typed(key, keys, layout, text); n < 0 || (n > 0 && isCharacter(text[0]))) return true;
    }
    return false;
}

}  // namespace

bool chordIsText(const ChordReport& chord) {
    if (chord.deadKey) return true;
    if (!chord.typed.empty() && std::ranges::all_of(chord.typed, isCharacter)) return true;
    return chord.rightAltHeld && chord.layoutHasAltGr;
}

ChordReport reportChord(UINT virtualKey) {
    const HWND front = GetForegroundWindow();
    const HKL layout = GetKeyboardLayout(front ? GetWindowThreadProcessId(front, nullptr) : 0);
    BYTE keys[256] = {};
    for (int key : {VK_SHIFT, VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU})
        if (GetAsyncKeyState(key) & 0x8000) keys[key] = 0x80;
    // The chord's own modifiers, even if let go since the hot key came.
    keys[VK_CONTROL] = keys[VK_MENU] = 0x80;
    if (GetKeyState(VK_CAPITAL) & 1) keys[VK_CAPITAL] = 1;

    ChordReport chord;
    chord.deadKey = typed(virtualKey, keys, layout, chord.typed) < 0;
    chord.rightAltHeld = keys[VK_RMENU] != 0;
    if (chord.rightAltHeld && chord.typed.empty() && !chord.deadKey) chord.layoutHasAltGr = hasAltGr(layout);
    return chord;
}

void retype(const ChordReport& chord) {
    std::vector<INPUT> inputs;
    for (wchar_t c : chord.typed) {
        for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = c;
            input.ki.dwFlags = KEYEVENTF_UNICODE | up;
            inputs.push_back(input);
        }
    }
    if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace horatta::shell
