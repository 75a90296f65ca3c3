#pragma once

#include <QPixmap>
#include <QWidget>

#include "linux/event_sink.h"
#include "linux/label_text.h"

namespace horatta::shell {

// A picture box on screen: Picture1, the clock face with the time Label1 and the handle
// Label3 drawn on it, or Picture2, the black panel behind it. Presses go to the core,
// which sorts them out to the control under the pointer.
class FaceWidget : public QWidget {
    Q_OBJECT
public:
    FaceWidget(ControlId id, EventSink& sink, QWidget* parent);
    ControlId id() const { return id_; }

    // Repaints the face when what it shows differs from the model's: at once for a tick
    // (no round through the event loop, so the second is on screen sooner and a scrolling
    // face costs one wake-up a frame), otherwise with the next pass of the event loop.
    void showModel(bool atOnce = false);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    // What a paint shows.
    struct Look {
        Color back;
        Image picture = Image::None;
        LabelLook label1;
        LabelLook label3;
        bool operator==(const Look&) const = default;
    };
    Look modelLook() const;

    ControlId id_;
    EventSink& sink_;
    Look shown_;
    bool painted_ = false;
    Image pictureImage_ = Image::None;
    qreal pictureScale_ = 1;
    QPixmap picture_;
    LabelText label1Text_;
    LabelText label3Text_;
};

}  // namespace horatta::shell
