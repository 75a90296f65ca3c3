#include "win32/shell.h"

#include "win32/hotkey/chord_text.h"
#include "win32/look.h"

namespace horatta::shell {

LRESULT Shell::handleForm2(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (Form2* form2 = form_->form2()) {
                const auto key = static_cast<std::int16_t>(wParam);
                deliver(Kind::Input, [form2, key, shift = shiftCode()] { form2->Form_KeyUp(key, shift); });
            }
            return 0;
        case WM_SYSCOMMAND:
            // The hot key makes the system activate Form2, unless a chord that types on the
            // user's layout is given back to the program the user types in.
            if ((wParam & 0xfff0) == SC_HOTKEY) {
                const auto virtualKey = static_cast<UINT>(SendMessageW(hwnd, WM_GETHOTKEY, 0, 0) & 0xff);
                if (const ChordReport chord = reportChord(virtualKey); chordIsText(chord)) {
                    retype(chord);
                    return 0;
                }
            }
            break;
        case WM_PAINT:
            paintBuffered(hwnd, [&](HDC dc, const RECT& client) {
                const Form2* form2 = form_->form2();
                FillRect(dc, &client, brush(form2 ? colour(form2->BackColor) : RGB(192, 0, 0)));
            });
            return 0;
        // Zero width already leaves no pixel to click; should a system give it one, the
        // pointer still goes through it and never activates it. Only the hot key (and the
        // system's own window switching) may give it the keyboard.
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATEANDEAT;
        case WM_CLOSE:
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace horatta::shell
