// The strip dragged by its handle: a nested loop that follows the pointer while a button is held.
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include "linux/shell.h"
#include "linux/x11_window_state.h"
#include "window/layout.h"

namespace horatta::shell {

namespace {

// Moves a window with the mouse while a button is held, and ends a nested loop when the
// last button comes up (or Escape puts the window back where it was).
class DragTracker : public QObject {
public:
    // The window moves by as much as the pointer has moved since the press: the pointer may
    // well have moved on before the press is handled.
    DragTracker(QWidget& window, QEventLoop& loop, QPoint pressedAt)
        : window_(window), loop_(loop), startCursor_(pressedAt), startPos_(window.pos()) {}

    QPoint startPos() const { return startPos_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Each mouse event reaches the native window first and then the widget: act once.
        if (!watched->isWidgetType()) return false;
        switch (event->type()) {
            case QEvent::MouseMove: {
                const QPoint cursor = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
                window_.move(startPos_ + (cursor - startCursor_));
                return true;
            }
            case QEvent::MouseButtonRelease:
                if (static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) {
                    released_ = true;
                    // What waited behind the release (the second press of a double-click,
                    // made while a tone held the clock) is handled in this same pass: it
                    // must reach the control under it, not the window holding the grab.
                    window_.releaseMouse();
                    loop_.quit();
                }
                return false;  // the widgets see the release, so their press state ends
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                // No new press while one drags; but once the button is up, a press handled
                // in the same pass is the next gesture (the second half of a double-click).
                return !released_;
            case QEvent::KeyPress:
                if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                    window_.move(startPos_);
                    loop_.quit();
                }
                return true;
            default: return false;
        }
    }

private:
    QWidget& window_;
    QEventLoop& loop_;
    QPoint startCursor_;
    QPoint startPos_;
    bool released_ = false;
};

}  // namespace

WindowPosition Shell::dragWindow(ControlId window, WindowPosition from) {
    if (window != ControlId::Form1 || ended_ || QGuiApplication::mouseButtons() == Qt::NoButton) return from;
    // A press handled after a tone may have been released meanwhile: no drag then, and
    // what came after it is the user's next gesture, handled as it comes in.
    if (!pointerButtonDown()) return from;
    showModel();

    QEventLoop loop;
    DragTracker tracker(*window_, loop, lastPress_);
    // Should the release never reach us (another program took the pointer), the server's
    // own button state ends the drag; asked twice so queued moves are handled first.
    QTimer watchdog;
    int upCount = 0;
    connect(&watchdog, &QTimer::timeout, &loop, [&] {
        upCount = pointerButtonDown() ? 0 : upCount + 1;
        if (upCount >= 2) loop.quit();
    });
    watchdog.start(100);

    window_->setDragging(true);
    qApp->installEventFilter(&tracker);
    window_->grabMouse();
    loop.exec();
    window_->releaseMouse();
    qApp->removeEventFilter(&tracker);
    window_->setDragging(false);

    // The window comes to where it was asked to be, moved by as much as the user dragged it: a
    // window manager that set it off the asked place (a frame, a title bar) moves no stored place.
    const QPoint moved = window_->pos() - tracker.startPos();
    if (moved.isNull()) return from;
    const Layout layout(form_);
    const PixelRect asked = layout.window();
    return layout.positionAt(asked.left + moved.x(), asked.top + moved.y(), from);
}

}  // namespace horatta::shell
