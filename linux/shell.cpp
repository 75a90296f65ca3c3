#include "linux/shell.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <chrono>

#include "linux/settings_registry.h"
#include "linux/look.h"
#include "linux/running_clock.h"
#include "linux/session_end.h"
#include "linux/system_services.h"
#include "linux/x11_window_state.h"
#include "settings/settings.h"
#include "window/layout.h"

namespace horatta::shell {

namespace {

// Mouse buttons and shift keys as the press handlers take them.
std::int16_t buttonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return buttonLeft;
        case Qt::RightButton: return buttonRight;
        case Qt::MiddleButton: return buttonMiddle;
        default: return 0;
    }
}

std::int16_t shiftCode(Qt::KeyboardModifiers modifiers) {
    return shiftBits(modifiers & Qt::ShiftModifier, modifiers & Qt::ControlModifier, modifiers & Qt::AltModifier);
}

}  // namespace

std::int64_t steadyNowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Shell::Shell(Form1& form, DesktopPlatform& platform)
    : form_(form),
      platform_(platform),
      window_(std::make_unique<ClockWindow>(*this)),
      pointer_(form),
      delivery_([this](EventDelivery::Kind kind, bool outermost) { shown(kind, outermost); }) {
    platform_.setWindowSystem(this);
    qApp->installEventFilter(this);
    timers_ = std::make_unique<FormTimers>(form_, systemTimer_, SystemTimer::nowMs, SystemTimer::alignmentSlackMs,
                                           [this](std::size_t, const std::function<void()>& tick) { delivery_.deliver(EventDelivery::Kind::Tick, tick); });
    systemTimer_.onFired([this] { timers_->fired(); });
    screens_ = std::make_unique<ScreenWatch>([this] { screensChanged(); });
}

Shell::~Shell() {
    qApp->removeEventFilter(this);
    platform_.setWindowSystem(nullptr);
    timers_->stop();
}

void Shell::start() {
    deliver([this] { form_.Form_Load(); });
    if (ended_) return;
    // The timers begin with their design settings once the start-up is over.
    timers_->start();
}

void Shell::hotKeyReleased() {
    // The key went to the hot key's grab rather than to the window itself; the handler
    // looks at neither the key nor the shift state.
    if (Form2* form2 = form_.form2()) deliver([form2] { form2->Form_KeyUp(0, 0); });
}

void Shell::deliver(const std::function<void()>& event) { delivery_.deliver(EventDelivery::Kind::Input, event); }

void Shell::shown(EventDelivery::Kind kind, bool) {
    if (!ended_) showModel(kind == EventDelivery::Kind::Tick);
}

void Shell::screensChanged() {
    delivery_.deliver(EventDelivery::Kind::Screens, [this] { form_.screensChanged(); });
}

void Shell::bringToFront() {
    if (ended_) return;
    // Moved off its place or off every screen by something else, it comes back; during a
    // drag the place is the drag's.
    window_->forgetPlace();
    screensChanged();
    if (ended_) return;
    if (!window_->isVisible()) window_->show();
    window_->raise();
    bringToFrontOfOthers(window_.get());
    window_->flash();
}

void Shell::showModel(bool paintFaceAtOnce) {
    if (showing_) {
        showAgain_ = true;
        return;
    }
    showing_ = true;
    do {
        showAgain_ = false;
        window_->showModel(paintFaceAtOnce);
    } while (showAgain_);
    // Fields follow the window onto a screen of another scale; one made later takes it too.
    fitFieldFontsToScale(*window_);
    showing_ = false;
    pointer_.shown(steadyNowMs());
    alignFocus();
}

void Shell::paintNow() {
    // Only the face: the focus follows the model once the event is over, as after any other.
    if (ended_ || showing_) return;
    showing_ = true;
    window_->showModel();
    showing_ = false;
    window_->repaint();
    pointer_.shown(steadyNowMs());
}

QWidget* Shell::widgetFor(ControlId id) {
    if (id == ControlId::Form2) return nullptr;  // never on the screen
    return window_->widgetFor(id);
}

void Shell::alignFocus() {
    // The core decides where the keyboard is; a control it hid passes the focus on to
    // where the core says, not to wherever the toolkit would send it.
    const auto focus = form_.focus();
    if (!focus || *focus == ControlId::Form1 || *focus == ControlId::Form2) return;
    QWidget* w = window_->madeWidgetFor(*focus);
    if (!w || !w->isVisible() || w->window()->focusWidget() == w) return;
    settingFocus_ = true;
    w->setFocus(Qt::OtherFocusReason);
    settingFocus_ = false;
}

void Shell::userFocus(ControlId control) {
    if (ended_ || settingFocus_ || showing_ || form_.focus() == control) return;
    deliver([this, control] { form_.focusArrived(control); });
}

void Shell::makeTopmost(ControlId window) {
    QWidget* w = widgetFor(window);
    if (!w) return;
    // The window carries the stay-on-top hint from its creation; this only brings it up.
    if (!w->isVisible()) w->show();
    w->raise();
}

void Shell::showWindow(ControlId window) {
    QWidget* w = widgetFor(window);
    if (!w) return;
    showModel();
    skipTaskbarAndPager(w);
    showOnEveryWorkspace(w);
    w->show();
    skipTaskbarAndPager(w);
    showOnEveryWorkspace(w);
}

void Shell::pointerEvent(const QWidget& widget, const QMouseEvent& event) {
    if (ended_) return;
    const std::int16_t button = buttonCode(event.button());
    if (button == 0) return;
    const QPoint at = widget.mapTo(window_.get(), event.position().toPoint());
    // The time the event was made by the server's stamp, not the time it is handled: a tone
    // holding the clock between two presses must not pull them apart or push them together.
    const std::int64_t time = inputClock_.madeAt(static_cast<std::uint32_t>(event.timestamp()), steadyNowMs());
    if (event.type() == QEvent::MouseButtonRelease) {
        deliver([this, button, at, time] { pointer_.release(button, at.x(), at.y(), time); });
        return;
    }
    deliver([this, button, shift = shiftCode(event.modifiers()), at, time] {
        pointer_.press(button, shift, at.x(), at.y(), time);
    });
}

ControlId Shell::controlAt(const QWidget& widget, const QPoint& point) {
    const QPoint at = widget.mapTo(window_.get(), point);
    return pointer_.controlAt(at.x(), at.y());
}

void Shell::setCaretShown(ControlId field, bool shown) {
    if (TimeFieldWidget* w = window_->timeFieldFor(field)) w->setCaretShown(shown);
}

bool Shell::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Close:
            // The window manager closes the strip (Alt+F4, a window list, i3's kill): the user
            // is done with the clock, which leaves as the handle's save-and-exit does instead of
            // hiding with its lock still held.
            if (watched != window_.get() || ended_) break;
            event->ignore();
            endSession();
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            lastPress_ = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            sinceUserInput_.start();
            break;
        case QEvent::KeyPress: sinceUserInput_.start(); break;
        default: break;
    }
    return false;
}

void Shell::setFocus(ControlId control) {
    if (ended_) return;
    showModel();  // a control the handler has just shown must be on screen to take the keyboard
    QWidget* w = widgetFor(control);
    if (!w) return;
    // The keyboard follows the program's focus when the user is working the clock: just
    // now (a click opening the memo, a field blinking up after a double-click) or still.
    // A field blinking while the user types in another program does not take it away.
    constexpr qint64 recentMs = 3000;
    const bool working = QGuiApplication::applicationState() == Qt::ApplicationActive ||
                         (sinceUserInput_.isValid() && sinceUserInput_.elapsed() < recentMs);
    if (!w->window()->isActiveWindow() && working) w->window()->activateWindow();
    settingFocus_ = true;
    w->setFocus(Qt::OtherFocusReason);
    settingFocus_ = false;
}

void Shell::endProgram() {
    ended_ = true;
    delivery_.stop();
    endProcessNow(0);
}

// The session's end does not wait for a drag to be over: the desktop will not wait either.
void Shell::endSession() { delivery_.deliver(EventDelivery::Kind::Tick, [this] { form_.EndSession(); }); }

void Shell::saveBeforeLogOut() { delivery_.deliver(EventDelivery::Kind::Tick, [this] { form_.SaveWindowState(); }); }

int runClock(Build build) {
    SystemServices services;
    SettingsRegistry registry(SettingsRegistry::defaultFilePath(), HKEY_LOCAL_MACHINE, std::string(settingsPath));
    DesktopPlatform platform(registry, services);
    Form1 form(build, platform);
    Shell shell(form, platform);
    services.onHotKeyReleased = [&shell] { shell.hotKeyReleased(); };
    shell.start();
    const SessionEnd sessionEnd([&shell] { shell.endSession(); }, [&shell] { shell.saveBeforeLogOut(); });
    const LaterStarts laterStarts(showRequestSocket(SettingsRegistry::defaultFilePath()), [&shell] { shell.bringToFront(); });
    QApplication::exec();
    // Only the clock itself ends the loop, and it ends the process as it does.
    endProcessNow(0);
}

}  // namespace horatta::shell
