#include "win32/shell.h"

namespace horatta::shell {

void Shell::changeDpi(int dpi, const RECT& suggested) {
    if (dpi <= 0 || dpi == services_.scale().dpi()) return;
    services_.setDpi(dpi);
    const DpiScale& scale = services_.scale();
    sendFont();
    // The labels that fit their text measure it again in the new font.
    for (Label* label : {&form_->Label1, &form_->Label2, &form_->Label3})
        if (label->autoSize()) label->setAutoSize(true);
    const Layout layout(*form_);
    if (!dragging_) {
        // The strip stays where the system put it; its place in twips follows.
        const WindowPosition at = layout.positionAt(scale.toLogical(suggested.left), scale.toLogical(suggested.top),
                                                    {form_->Left, form_->Top});
        form_->Left = at.left;
        form_->Top = at.top;
        formPlaced_.reset();
    } else {
        // A drag holds the window and gives its place when it ends; meanwhile it keeps the
        // suggested position at its new size.
        const PixelRect strip = layout.window();
        const RECT r{suggested.left, suggested.top, suggested.left + scale.toDevice(strip.width),
                     suggested.top + scale.toDevice(strip.height)};
        SetWindowPos(form1_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
        formPlaced_ = r;
    }
    for (auto& [id, r] : placed_) r = RECT{-1, -1, -1, -1};
    toolTipRect_.reset();
    // The screens measure differently in logical pixels now; the strip must still lie on one.
    screensChanged();
}

void Shell::sendFont() {
    for (auto& [id, hwnd] : children_) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(services_.font()), FALSE);
}

}  // namespace horatta::shell
