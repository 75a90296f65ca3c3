#include "win32/shell.h"

#include <algorithm>

#include "win32/look.h"
#include "win32/wide.h"
#include "window/utf16.h"

namespace horatta::shell {

TextBox* Shell::textBox(ControlId id) {
    if (id == ControlId::Text1) return &form_->Text1;
    if (id == ControlId::Text2) return &form_->Text2;
    return nullptr;
}

void Shell::syncEdits() {
    for (auto& [id, state] : edits_) {
        TextBox& box = *textBox(id);
        HWND hwnd = window(id);
        const bool textChanged = box.Text != state.text;
        if (textChanged) {
            pullingEdits_ = false;
            SetWindowTextW(hwnd, widen(box.Text).c_str());
            pullingEdits_ = true;
            state.text = box.Text;
        }
        if (textChanged || box.SelStart != state.selStart || box.SelLength != state.selLength) {
            std::wstring text = widen(box.Text);
            const int start = std::max(box.SelStart, 0);
            const int end = start + std::max(box.SelLength, 0);
            SendMessageW(hwnd, EM_SETSEL, static_cast<WPARAM>(utf16::unitsBefore(units(text), start)),
                         static_cast<LPARAM>(utf16::unitsBefore(units(text), end)));
            state.selStart = box.SelStart;
            state.selLength = box.SelLength;
        }
        // The edit control asks for its colours when it paints; a change needs a repaint.
        if (colour(box.ForeColor) != state.fore || colour(box.BackColor) != state.back) {
            state.fore = colour(box.ForeColor);
            state.back = colour(box.BackColor);
            InvalidateRect(hwnd, nullptr, TRUE);
        }
    }
}

void Shell::pullEdit(ControlId id) {
    TextBox* box = textBox(id);
    if (!box || !pullingEdits_) return;
    HWND hwnd = window(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    DWORD start = 0, end = 0;
    SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EditState& state = edits_[id];
    state.text = box->Text = narrow(text);
    state.selStart = box->SelStart = utf16::charactersBefore(units(text), static_cast<int>(start));
    state.selLength = box->SelLength = utf16::charactersBefore(units(text), static_cast<int>(end)) - box->SelStart;
}

LRESULT CALLBACK Shell::editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* shell = reinterpret_cast<Shell*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    auto id = shell->controlOf(hwnd);
    if (!id) return CallWindowProcW(shell->editDefault_, hwnd, message, wParam, lParam);
    if (message == WM_GETOBJECT) shell->accessibilityAsked();
    return shell->handleEdit(hwnd, *id, message, wParam, lParam);
}

LRESULT Shell::handleEdit(HWND hwnd, ControlId id, UINT message, WPARAM wParam, LPARAM lParam) {
    if (tabKey(id, message, wParam)) return 0;
    switch (message) {
        case WM_CHAR: {
            // The field takes the character once the handler has had its say.
            deliver(Kind::Input, [this, hwnd, id, message, wParam, lParam] {
                const auto typed = static_cast<std::int16_t>(wParam);
                std::int16_t key = typed;
                if (id == ControlId::Text1) form_->Text1_KeyPress(key);
                else form_->Text2_KeyPress(key);
                if (key == 0 || !IsWindow(hwnd)) return;  // swallowed
                render();  // what the handler made of the text is what the character lands in
                const WPARAM passed = key == typed ? wParam : static_cast<WPARAM>(static_cast<std::uint16_t>(key));
                CallWindowProcW(editDefault_, hwnd, message, passed, lParam);
                pullEdit(id);
            });
            return 0;
        }
        // The field selects as fields do; whether a press is a double-click for the clock
        // is the core's to decide, with its own double-click time.
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            LRESULT result = CallWindowProcW(editDefault_, hwnd, message, wParam, lParam);
            pullEdit(id);
            const int button = message == WM_RBUTTONDOWN   ? buttonRight
                               : message == WM_MBUTTONDOWN ? buttonMiddle
                                                           : buttonLeft;
            if (IsWindow(hwnd)) pointerPress(hwnd, button, lParam);
            return result;
        }
        case WM_LBUTTONUP: {
            LRESULT result = CallWindowProcW(editDefault_, hwnd, message, wParam, lParam);
            pullEdit(id);
            pointerRelease(hwnd, buttonLeft, lParam);
            return result;
        }
        case WM_SETFOCUS: {
            LRESULT result = CallWindowProcW(editDefault_, hwnd, message, wParam, lParam);
            PostMessageW(form1_, focusMovedMessage, 0, 0);
            return result;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_MOUSEMOVE: {
            // The selection moves without a notification of its own.
            LRESULT result = CallWindowProcW(editDefault_, hwnd, message, wParam, lParam);
            pullEdit(id);
            return result;
        }
        default:
            break;
    }
    return CallWindowProcW(editDefault_, hwnd, message, wParam, lParam);
}

}  // namespace horatta::shell
