#include "win32/shell.h"

#include <cstdlib>

namespace horatta::shell {

namespace {

// Whether a button (as the press handlers number them) is down now, not when the message
// being handled was made.
bool buttonDownNow(int button) {
    const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    const int key = button == buttonLeft    ? (swapped ? VK_RBUTTON : VK_LBUTTON)
                    : button == buttonRight ? (swapped ? VK_LBUTTON : VK_RBUTTON)
                                            : VK_MBUTTON;
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

}  // namespace

WindowPosition Shell::dragWindow(ControlId which, WindowPosition from) {
    HWND hwnd = window(which);
    if (!hwnd) return from;
    // A press handled after a tone may have been released meanwhile: no drag then (the
    // system's move would wait for a release that has already been), and what came after
    // it is the user's next gesture.
    if (!buttonDownNow(pressedButton_)) return from;
    RECT before;
    GetWindowRect(hwnd, &before);
    const int dpiBefore = services_.scale().dpi();
    dragging_ = true;
    if (pressedButton_ == buttonLeft) {
        // The system's own move, as for a press on a title bar; it returns on release. It
        // begins only once the pointer has travelled with the button down: a window manager
        // that takes such a move over would swallow the next press, the second half of a
        // double-click, so a press that stays put never enters it.
        if (followPointer(hwnd, MK_LBUTTON, WM_LBUTTONUP, true)) {
            ReleaseCapture();
            SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        }
    } else if (pressedButton_ == buttonRight) {
        // The system moves a window only with the left button; the others get the same move here.
        followPointer(hwnd, MK_RBUTTON, WM_RBUTTONUP, false);
    } else if (pressedButton_ == buttonMiddle) {
        followPointer(hwnd, MK_MBUTTON, WM_MBUTTONUP, false);
    }
    dragging_ = false;
    RECT after;
    GetWindowRect(hwnd, &after);
    if (after.left == before.left && after.top == before.top) return from;
    // The place asked for, moved by as much as the window moved: where a window manager set
    // the window off the asked place is not stored.
    const Layout layout(*form_);
    const DpiScale& scale = services_.scale();
    // Across screens of another density the system placed the window anew: where it is counts.
    if (scale.dpi() != dpiBefore)
        return layout.positionAt(scale.toLogical(after.left), scale.toLogical(after.top), from);
    const PixelRect asked = layout.window();
    return layout.positionAt(scale.toLogical(scale.toDevice(asked.left) + after.left - before.left),
                             scale.toLogical(scale.toDevice(asked.top) + after.top - before.top), from);
}

// Moves the window with the pointer while the button (`held`, with its `release` message) stays
// down, from where the window and the pointer were at the press. `untilTravel`: only until the
// pointer first travels past the system's drag distance; true then, false when the button came
// up first. Otherwise to the release, and Escape puts the window back. Timers and painting go
// on meanwhile; the mouse and the keyboard belong to the press.
bool Shell::followPointer(HWND hwnd, WPARAM held, UINT release, bool untilTravel) {
    POINT start;
    GetCursorPos(&start);
    RECT origin;
    GetWindowRect(hwnd, &origin);
    const int slopX = untilTravel ? GetSystemMetrics(SM_CXDRAG) : 0;
    const int slopY = untilTravel ? GetSystemMetrics(SM_CYDRAG) : 0;
    auto moveBy = [&](int dx, int dy) {
        SetWindowPos(hwnd, nullptr, origin.left + dx, origin.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    SetCapture(hwnd);
    bool travelled = false;
    MSG msg;
    while (GetCapture() == hwnd) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == release) break;
        if (msg.message == WM_MOUSEMOVE) {
            if (!(msg.wParam & held)) break;
            POINT p;
            GetCursorPos(&p);
            if (std::abs(p.x - start.x) <= slopX && std::abs(p.y - start.y) <= slopY) continue;
            // A move the system takes over starts where the pointer is now: the window catches up first.
            moveBy(p.x - start.x, p.y - start.y);
            travelled = true;
            if (untilTravel) break;
            continue;
        }
        if (!untilTravel && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            moveBy(0, 0);
            break;
        }
        if ((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
            (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (GetCapture() == hwnd) ReleaseCapture();
    return travelled;
}

}  // namespace horatta::shell
