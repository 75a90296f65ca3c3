#include "win32/shell.h"

#include "win32/look.h"
#include "win32/wide.h"

namespace horatta::shell {

// A label's caption as the core lays it out: on the surface it is drawn on, in the labels'
// font at the strip's density, over what lies beneath.
void Shell::drawLabel(HDC dc, const DrawnLabel& drawn) {
    const Label& label = *drawn.label;
    if (label.caption().empty()) return;
    RECT r = onSurface(drawn.id);
    std::wstring text = widen(label.caption());
    UINT format = DT_NOPREFIX | (label.autoSize() ? DT_SINGLELINE : DT_WORDBREAK);
    switch (label.alignment) {
        case Alignment::Left: format |= DT_LEFT; break;
        case Alignment::Right: format |= DT_RIGHT; break;
        case Alignment::Center: format |= DT_CENTER; break;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour(label.ForeColor));
    HGDIOBJ old = SelectObject(dc, services_.font());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    SelectObject(dc, old);
}

}  // namespace horatta::shell
