#include "linux/time_field_widget.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleHints>
#include <cmath>

#include "linux/key_mapping.h"
#include "linux/look.h"
#include "window/caret.h"

namespace horatta::shell {

namespace {
constexpr int textMargin = 1;
}

TimeFieldWidget::TimeFieldWidget(ControlId id, EventSink& sink, QWidget* parent)
    : QWidget(parent), id_(id), sink_(sink) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setFont(controlFont());
    setCursor(Qt::IBeamCursor);
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    blink_.setInterval(flash > 0 ? flash / 2 : 500);
    connect(&blink_, &QTimer::timeout, this, [this] {
        blinkOn_ = !blinkOn_;
        update();
    });
}

TimeField& TimeFieldWidget::field() const {
    Form1& form = sink_.form();
    return id_ == form.shutdownFieldId() ? form.shutdownField() : form.reminderField();
}

void TimeFieldWidget::showModel() {
    const TimeField& f = field();
    Look look{f.text(), f.selStart(), f.ForeColor, f.BackColor};
    if (painted_ && look == shown_) return;
    shown_ = std::move(look);
    painted_ = true;
    update();
}

void TimeFieldWidget::setCaretShown(bool shown) {
    caretShown_ = shown;
    restartBlink();
}

void TimeFieldWidget::restartBlink() {
    blinkOn_ = true;
    if (caretShown_ && hasFocus() && QGuiApplication::styleHints()->cursorFlashTime() > 0)
        blink_.start();
    else
        blink_.stop();
    update();
}

int TimeFieldWidget::caretX(const std::string& text, int index) const {
    const std::string_view before = textBeforeCaret(text, index);
    return textMargin + fontMetrics().horizontalAdvance(QString::fromUtf8(before.data(), qsizetype(before.size())));
}

void TimeFieldWidget::paintEvent(QPaintEvent*) {
    const TimeField& f = field();
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(f.BackColor));
    painter.setFont(font());
    text_.paint(painter, f.text(), rect().adjusted(textMargin, 0, 0, 0), Qt::AlignLeft, toQColor(f.ForeColor));
    if (caretShown_ && hasFocus() && blinkOn_) {
        // One pixel wide at 1x and a whole number of device pixels at every scale, as sharp
        // as the text beside it.
        const qreal scale = devicePixelRatioF();
        const qreal width = std::max<qreal>(1, std::round(scale)) / scale;
        const int x = caretX(f.text(), f.selStart());
        painter.fillRect(QRectF(x, 1, width, std::max(1, std::min(height(), fontMetrics().height()) - 1)),
                         toQColor(f.ForeColor));
    }
}

void TimeFieldWidget::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        QWidget::keyPressEvent(event);  // Tab moves on between the controls
        return;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) {
        event->ignore();
        return;
    }
    Form1& form = sink_.form();
    if (auto edit = editKeyFor(key)) {
        sink_.deliver([&form, id = id_, edit = *edit] { form.timeFieldEditKey(id, edit); });
    } else if (auto code = keyAsciiFor(key, event->text())) {
        sink_.deliver([&form, id = id_, code = *code] { form.timeFieldKeyPress(id, code); });
    } else {
        event->ignore();
        return;
    }
    restartBlink();
}

void TimeFieldWidget::mousePressEvent(QMouseEvent* event) {
    // A click puts the caret at the nearest character boundary, as any field does.
    QWidget::mousePressEvent(event);
    sink_.pointerEvent(*this, *event);
    if (event->button() != Qt::LeftButton) return;
    const std::string text = field().text();
    const int best = caretNearest(text, event->position().toPoint().x(), [&](int i) { return caretX(text, i); });
    sink_.deliver([this, best] { field().setSelStart(best); });
    restartBlink();
}

void TimeFieldWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    restartBlink();
    sink_.userFocus(id_);
}

void TimeFieldWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    restartBlink();
}

}  // namespace horatta::shell
