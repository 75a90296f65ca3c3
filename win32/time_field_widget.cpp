#include "win32/shell.h"

#include <windowsx.h>

#include <algorithm>

#include "window/caret.h"
#include "win32/key_mapping.h"
#include "win32/look.h"
#include "win32/wide.h"

namespace horatta::shell {

bool Shell::isTimeField(ControlId id) const {
    return id == form_->shutdownFieldId() || id == form_->reminderFieldId();
}

TimeField* Shell::timeField(ControlId id) {
    if (id == form_->shutdownFieldId()) return &form_->shutdownField();
    if (id == form_->reminderFieldId()) return &form_->reminderField();
    return nullptr;
}

void Shell::paintTimeField(HDC dc, const RECT& client, ControlId id) {
    const TimeField& field = *timeField(id);
    FillRect(dc, &client, brush(colour(field.BackColor)));
    std::wstring text = widen(field.text());
    RECT r = client;
    r.left += inset();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour(field.ForeColor));
    HGDIOBJ old = SelectObject(dc, services_.font());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
}

LRESULT Shell::handleTimeField(HWND hwnd, ControlId id, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paintBuffered(hwnd, [&](HDC dc, const RECT& client) { paintTimeField(dc, client, id); }, flashInverted_);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (delivery_.running()) {  // it waits in the core while the event that runs holds the field
                pointerPress(hwnd, buttonLeft, lParam);
                return 0;
            }
            if (GetFocus() != hwnd) SetFocus(hwnd);
            // The caret goes to the character boundary nearest the press.
            TimeField& field = *timeField(id);
            const int caret = caretNearest(field.text(), GET_X_LPARAM(lParam), [&](int i) { return caretX(id, i); });
            deliver(Kind::Input, [&field, caret] { field.setSelStart(caret); });
            pointerPress(hwnd, buttonLeft, lParam);
            return 0;
        }
        case WM_CHAR: {
            if (tabKey(id, message, wParam)) return 0;
            const auto key = static_cast<std::int16_t>(wParam);
            deliver(Kind::Input, [this, id, key] { form_->timeFieldKeyPress(id, key); });
            return 0;
        }
        case WM_KEYDOWN: {
            if (tabKey(id, message, wParam)) return 0;
            if (const std::optional<EditKey> key = editKeyFor(wParam))
                deliver(Kind::Input, [this, id, key = *key] { form_->timeFieldEditKey(id, key); });
            return 0;
        }
        case WM_SETFOCUS: {
            RECT client;
            GetClientRect(hwnd, &client);
            TEXTMETRICW metrics{};
            HDC dc = GetDC(hwnd);
            HGDIOBJ old = SelectObject(dc, services_.font());
            GetTextMetricsW(dc, &metrics);
            SelectObject(dc, old);
            ReleaseDC(hwnd, dc);
            const int width = std::max(1, services_.scale().dpi() / DpiScale::standardDpi);
            CreateCaret(hwnd, nullptr, width, std::min<int>(metrics.tmHeight, client.bottom - inset()));
            SetCaretPos(caretX(id), inset());
            ShowCaret(hwnd);
            caretShown_[id] = true;
            PostMessageW(form1_, focusMovedMessage, 0, 0);
            return 0;
        }
        case WM_KILLFOCUS:
            DestroyCaret();
            caretShown_[id] = false;
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int Shell::caretX(ControlId id) const { return caretX(id, const_cast<Shell*>(this)->timeField(id)->selStart()); }

int Shell::caretX(ControlId id, int index) const {
    const TimeField* field = const_cast<Shell*>(this)->timeField(id);
    if (!field) return 0;
    const std::string text = field->text();
    const std::wstring before = widen(textBeforeCaret(text, index));
    HDC dc = GetDC(window(id));
    HGDIOBJ old = SelectObject(dc, services_.font());
    SIZE size{};
    GetTextExtentPoint32W(dc, before.c_str(), static_cast<int>(before.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window(id), dc);
    return inset() + size.cx;
}

// The text's distance from the field's left edge, and the caret's from its top: a logical pixel.
int Shell::inset() const { return services_.scale().toDevice(1); }

void Shell::syncCaret() {
    auto id = controlOf(GetFocus());
    if (!id || !isTimeField(*id)) return;
    SetCaretPos(caretX(*id), inset());
}

void Shell::setCaretShown(ControlId field, bool shown) {
    HWND hwnd = window(field);
    if (!hwnd || GetFocus() != hwnd || caretShown_[field] == shown) return;
    if (shown) {
        SetCaretPos(caretX(field), inset());
        ShowCaret(hwnd);
    } else {
        HideCaret(hwnd);
    }
    caretShown_[field] = shown;
}

}  // namespace horatta::shell
