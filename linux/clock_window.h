#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

#include "linux/accessible_names.h"
#include "linux/event_sink.h"
#include "linux/face_widget.h"
#include "linux/label_text.h"
#include "linux/text_box_widget.h"
#include "linux/time_field_widget.h"

namespace horatta::shell {

// Form1 on screen: a frameless strip that stays above other windows and keeps out of
// the taskbar and the switcher. Its windowed controls are child widgets stacked as the
// model orders them; Label2 is drawn on the window's own surface behind them.
class ClockWindow : public QWidget {
    Q_OBJECT
public:
    explicit ClockWindow(EventSink& sink);

    // Brings position, size, every control and the text boxes in line with the model.
    // `atOnce` paints the face now rather than with the next pass of the event loop.
    void showModel(bool atOnce = false);

    // The widget that stands for a control, made on first need; nullptr for a control drawn
    // on another. The entry fields are seldom seen and cost the first frame time to make,
    // so each is made only when it first shows or is asked for.
    QWidget* widgetFor(ControlId id);
    TimeFieldWidget* timeFieldFor(ControlId id);
    // The same, but nullptr for a field not made yet (which is hidden, as it has never shown).
    QWidget* madeWidgetFor(ControlId id);

    // The window goes to the model's place with the next showModel, even where it seems to
    // be there already: something else may have moved it.
    void forgetPlace() { placed_.reset(); }
    // A few quick flashes of the whole strip in inverted colours, on a timer: the user sees
    // where the clock is. A flash that runs starts again.
    void flash();

    // While the user drags the window, its position belongs to the drag.
    void setDragging(bool dragging) { dragging_ = dragging; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // What a paint of the window's own surface shows.
    struct Look {
        Color back;
        LabelLook label2;
        bool operator==(const Look&) const = default;
    };

    void showFlash();
    template <typename W> W* made(std::unique_ptr<W>& widget, ControlId id);
    // Takes a control's widget in: the keyboard reaches it as its tab index says; hidden.
    void adopt(QWidget& widget, ControlId id);
    // Stacks the made widgets as the model orders them and puts them in their tab order.
    void arrange();

    EventSink& sink_;
    FaceWidget picture1_;
    FaceWidget picture2_;
    std::unique_ptr<TextBoxWidget> text1_;
    std::unique_ptr<TextBoxWidget> text2_;
    std::unique_ptr<TimeFieldWidget> shutdownField_;
    std::unique_ptr<TimeFieldWidget> reminderField_;
    // Where the model last put the window. Where the window manager then set it (inside a
    // frame, below a title bar) is its own affair: the model keeps the place it asked for, so
    // that the place stored at exit comes back the same under every window manager.
    std::optional<QPoint> placed_;
    bool dragging_ = false;
    Look shown_;
    bool painted_ = false;
    LabelText label2Text_;
    // In front of every control: while it shows, what lies beneath is drawn inverted.
    QWidget flashCover_;
    QTimer flashTimer_;
    QElapsedTimer sinceFlash_;
    AccessibleNames names_;
};

}  // namespace horatta::shell
