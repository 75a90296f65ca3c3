#include "linux/hot_key_window.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "linux/geometry.h"
#include "linux/look.h"

namespace horatta::shell {

std::int16_t virtualKeyCode(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<std::int16_t>(qtKey);  // Qt and Windows agree on these
    switch (qtKey) {
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab: return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Shift: return 16;
        case Qt::Key_Control: return 17;
        case Qt::Key_Alt: return 18;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Space: return 32;
        default: return 0;
    }
}

HotKeyWindow::HotKeyWindow(Form2& form2, EventSink& sink)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), form2_(form2), sink_(sink) {
    setWindowTitle(QString::fromStdString(form2.Caption));
    // Shown at start-up, it must not take the keyboard from the clock or anything else.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::StrongFocus);
}

void HotKeyWindow::showModel() {
    // A window cannot be narrower than a pixel on the desktop: the design's zero width
    // and its height become the smallest window there is.
    const PixelPoint at = windowPixelPosition(form2_.Left, form2_.Top);
    move(at.x, at.y);
    resize(std::max(1, toPixels(form2_.Width)), 1);
}

void HotKeyWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(form2_.BackColor));
}

void HotKeyWindow::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) return;  // a held key is released once, at the end
    const std::int16_t keyCode = virtualKeyCode(event->key());
    const std::int16_t shift = shiftCode(event->modifiers());
    sink_.deliver([&] { form2_.Form_KeyUp(keyCode, shift); });
}

}  // namespace horatta::shell
