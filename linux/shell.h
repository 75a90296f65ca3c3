#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <memory>

#include "linux/clock_window.h"
#include "linux/event_sink.h"
#include "linux/desktop_platform.h"
#include "linux/screen_watch.h"
#include "linux/system_timer.h"
#include "platform/event_delivery.h"
#include "platform/input_clock.h"
#include "window/form_timers.h"
#include "window/pointer_input.h"

namespace horatta::shell {

// Holds the windows, the timers and the model together: turns input and timer ticks into
// core events, redraws after each, and answers the platform's window requests. It keeps
// no clock logic of its own.
class Shell : public QObject, public EventSink, public WindowSystem {
    Q_OBJECT
public:
    Shell(Form1& form, DesktopPlatform& platform);
    ~Shell() override;

    // Runs the start-up and then lets the timers run.
    void start();

    // A real key came up after the real hot key, while its grab held the keyboard: it was
    // released in Form2. Form2 itself is never put on the screen: a window of even one
    // pixel can be clicked or hovered into activity, and any key released in it would
    // power the computer off. The hot key's grab alone hands it the keyboard.
    void hotKeyReleased();

    // The session ends the clock from outside: it stores what the handle's save-and-exit
    // stores and ends the process.
    void endSession();
    // A log-out is coming, and may still be cancelled: the clock stores the same, and runs on.
    void saveBeforeLogOut();
    // The screens changed: the strip must still lie on one.
    void screensChanged();
    // The clock was started again: it comes back onto a screen at its place, in front of
    // every window, and flashes so that the user sees where it is.
    void bringToFront();

    // --- EventSink
    Form1& form() override { return form_; }
    void deliver(const std::function<void()>& event) override;
    void userFocus(ControlId control) override;
    void pointerEvent(const QWidget& widget, const QMouseEvent& event) override;
    ControlId controlAt(const QWidget& widget, const QPoint& point) override;

    // --- WindowSystem
    WindowPosition dragWindow(ControlId window, WindowPosition from) override;
    void makeTopmost(ControlId window) override;
    void showWindow(ControlId window) override;
    void setCaretShown(ControlId field, bool shown) override;
    void setFocus(ControlId control) override;
    void endProgram() override;
    void paintNow() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // After every event the windows show the model: a tick paints the face at once, the
    // user's events paint with the next pass of the loop.
    void shown(EventDelivery::Kind kind, bool outermost);
    void showModel(bool paintFaceAtOnce = false);
    void alignFocus();
    QWidget* widgetFor(ControlId id);

    Form1& form_;
    DesktopPlatform& platform_;
    std::unique_ptr<ClockWindow> window_;
    PointerInput pointer_;
    InputClock inputClock_;  // the server's stamps on input events, on the steady clock
    SystemTimer systemTimer_;
    std::unique_ptr<FormTimers> timers_;
    std::unique_ptr<ScreenWatch> screens_;
    EventDelivery delivery_;
    bool ended_ = false;
    bool showing_ = false;        // the windows are being set from the model
    bool showAgain_ = false;      // the model changed while they were
    bool settingFocus_ = false;   // the program, not the user, is moving the focus
    QElapsedTimer sinceUserInput_;  // the user's last press or key in one of the windows
    QPoint lastPress_;              // where on the screen the last press was
};

// Milliseconds of the steady clock the presses' times and the paints are told on.
std::int64_t steadyNowMs();

// Builds the platform and the window model of one build and runs them until the
// program ends. Expects the QApplication to exist.
int runClock(Build build);

}  // namespace horatta::shell
