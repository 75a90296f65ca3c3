#include "win32/shell.h"

#include <windowsx.h>

#include "win32/look.h"

namespace horatta::shell {

void Shell::paintPicture(HDC dc, const RECT& client, ControlId id) {
    const PictureBox& box = form_->pictureBox(id);
    FillRect(dc, &client, brush(colour(box.BackColor)));
    if (const Bitmap* skin = skins_.get(box.Picture, services_.scale())) {
        // At its own size from the top-left corner: a larger skin is cut at the edges.
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, skin->handle);
        BitBlt(dc, 0, 0, skin->width, skin->height, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    }
    for (const DrawnLabel& label : Layout(*form_).labelsOn(id)) drawLabel(dc, label);
}

LRESULT Shell::handlePicture(HWND hwnd, ControlId id, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paintBuffered(hwnd, [&](HDC dc, const RECT& client) { paintPicture(dc, client, id); }, flashInverted_);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
            // While a drag runs, the press only waits in the core: the drag keeps the capture.
            if (!delivery_.running()) {
                if (GetFocus() != hwnd) SetFocus(hwnd);
                SetCapture(hwnd);  // the release comes back here wherever it happens
            }
            pointerPress(hwnd, buttonLeft, lParam);
            return 0;
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (!delivery_.running() && GetFocus() != hwnd) SetFocus(hwnd);
            pointerPress(hwnd, message == WM_RBUTTONDOWN ? buttonRight : buttonMiddle, lParam);
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == hwnd) ReleaseCapture();
            pointerRelease(hwnd, buttonLeft, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            // Another window took the pointer: the release will not come here.
            if (lParam != 0 && !controlOf(reinterpret_cast<HWND>(lParam))) pointer_->cancel();
            return 0;
        case WM_SETFOCUS:
            PostMessageW(form1_, focusMovedMessage, 0, 0);
            return 0;
        case WM_KEYDOWN:
        case WM_CHAR:
            if (tabKey(id, message, wParam)) return 0;
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace horatta::shell
