#pragma once

#include <QTimer>
#include <QWidget>
#include <string>

#include "linux/event_sink.h"
#include "linux/label_text.h"

namespace horatta::shell {

// A time field on screen. The core edits it; this widget shows the model's text and
// caret and forwards every key: characters (Backspace 8 and Enter 13 among them) to the
// key-press handler and the field, caret and delete keys to the field alone.
class TimeFieldWidget : public QWidget {
    Q_OBJECT
public:
    TimeFieldWidget(ControlId id, EventSink& sink, QWidget* parent);
    ControlId id() const { return id_; }
    void setCaretShown(bool shown);
    // Repaints the field when its text, caret or colours differ from the model's.
    void showModel();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    TimeField& field() const;
    int caretX(const std::string& text, int index) const;
    void restartBlink();

    struct Look {
        std::string text;
        int selStart = 0;
        Color fore;
        Color back;
        bool operator==(const Look&) const = default;
    };

    ControlId id_;
    EventSink& sink_;
    Look shown_;
    bool painted_ = false;
    bool caretShown_ = false;
    bool blinkOn_ = true;
    QTimer blink_;
    LabelText text_;
};

}  // namespace horatta::shell
