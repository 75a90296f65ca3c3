#pragma once

#include <QWidget>

#include "linux/event_sink.h"

namespace horatta::shell {

// A picture box on screen: Picture1, the clock face with the time Label1 and the handle
// Label3 drawn on it, or Picture2, the black panel behind it. Presses go to the core,
// which sorts them out to the control under the pointer.
class FaceWidget : public QWidget {
    Q_OBJECT
public:
    FaceWidget(ControlId id, EventSink& sink, QWidget* parent);
    ControlId id() const { return id_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    ControlId id_;
    EventSink& sink_;
};

}  // namespace horatta::shell
