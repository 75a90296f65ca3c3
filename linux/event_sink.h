#pragma once

#include <functional>

#include <QMouseEvent>

#include "window/form1.h"

namespace horatta::shell {

// Where the windows send what the user does. Every core event goes through deliver(),
// which runs it and then redraws everything from the model.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual Form1& form() = 0;
    virtual void deliver(const std::function<void()>& event) = 0;
    // The user put the keyboard on a control (a click, Tab, the window coming back).
    virtual void userFocus(ControlId control) = 0;
    // A mouse button went down or up on one of the window's controls. The core decides
    // which control lies under the pointer and which presses pair into a double-click.
    virtual void pointerEvent(const QWidget& widget, const QMouseEvent& event) = 0;
    // The control under a point of a widget of the window, as the core sees it.
    virtual ControlId controlAt(const QWidget& widget, const QPoint& point) = 0;
};

}  // namespace horatta::shell
