#pragma once

#include <QLineEdit>
#include <optional>
#include <string>
#include <utility>

#include "linux/event_sink.h"

namespace horatta::shell {

// The memo (Text2) or the reminder message (Text1) as a native line edit, so that input
// methods, the clipboard and every script work. The widget's text and selection are
// copied into the model on every change; Enter, the other typed keys, the double-click
// and the focus go to the core's handlers.
class TextBoxWidget : public QLineEdit {
    Q_OBJECT
public:
    TextBoxWidget(ControlId id, EventSink& sink, QWidget* parent);
    ControlId id() const { return id_; }

    // Shows the model's text, selection and colours where they differ from the widget's.
    void showModel();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    TextBox& box() const;
    void copyToModel();

    ControlId id_;
    EventSink& sink_;
    bool showing_ = false;  // the widget is being set from the model
    std::optional<std::pair<Color, Color>> styledFor_;  // back and fore of the style sheet
    // The model's text and selection when the widget was last brought in line with them;
    // the widget's own changes reach the model, so while these stand the two agree.
    struct Matched {
        std::string text;
        int selStart = 0;
        int selLength = 0;
    };
    std::optional<Matched> matched_;
};

}  // namespace horatta::shell
