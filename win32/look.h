#pragma once

#include "win32/win32.h"

#include <map>

#include "platform/platform.h"
#include "window/controls.h"

namespace horatta::shell {

// A model colour on screen: the system's colour for a system index, else the components.
COLORREF colour(const Color& c);

// Solid brushes by colour, made once and kept for the program's life.
class Brushes {
public:
    Brushes() = default;
    ~Brushes();
    Brushes(const Brushes&) = delete;
    Brushes& operator=(const Brushes&) = delete;
    HBRUSH get(COLORREF colour);

private:
    std::map<COLORREF, HBRUSH> brushes_;
};

inline RECT toRect(const PixelRect& r) { return RECT{r.left, r.top, r.left + r.width, r.top + r.height}; }

inline bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Paints a window through a bitmap of its size, so that nothing flickers half-drawn;
// `inverted` puts it on the screen in inverted colours.
template <class Paint> void paintBuffered(HWND hwnd, Paint&& paint, bool inverted = false) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    if (client.right > 0 && client.bottom > 0) {
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
        HGDIOBJ old = SelectObject(memory, bitmap);
        paint(memory, client);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, inverted ? NOTSRCCOPY : SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
    }
    EndPaint(hwnd, &ps);
}

}  // namespace horatta::shell
