#include "linux/face_widget.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "linux/look.h"
#include "window/layout.h"

namespace horatta::shell {

std::int16_t buttonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return buttonLeft;
        case Qt::RightButton: return buttonRight;
        case Qt::MiddleButton: return buttonMiddle;
        default: return 0;
    }
}

std::int16_t shiftCode(Qt::KeyboardModifiers modifiers) {
    std::int16_t code = 0;
    if (modifiers & Qt::ShiftModifier) code |= 1;
    if (modifiers & Qt::ControlModifier) code |= 2;
    if (modifiers & Qt::AltModifier) code |= 4;
    return code;
}

namespace {

Qt::Alignment horizontal(Alignment alignment) {
    switch (alignment) {
        case Alignment::Right: return Qt::AlignRight;
        case Alignment::Center: return Qt::AlignHCenter;
        case Alignment::Left: break;
    }
    return Qt::AlignLeft;
}

QRect toQRect(const PixelRect& r) { return QRect(r.left, r.top, r.width, r.height); }

void paintLabel(QPainter& painter, const DrawnLabel& drawn) {
    const Label& label = *drawn.label;
    if (label.caption().empty()) return;
    const QRect r = toQRect(drawn.rect);
    painter.save();
    painter.setClipRect(r);
    painter.setPen(toQColor(label.ForeColor));
    painter.drawText(r, static_cast<int>(Qt::AlignTop | horizontal(label.alignment) | Qt::TextSingleLine),
                     QString::fromStdString(label.caption()));
    painter.restore();
}

}  // namespace

FaceWidget::FaceWidget(ControlId id, EventSink& sink, QWidget* parent) : QWidget(parent), id_(id), sink_(sink) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(controlFont());
}

void FaceWidget::paintEvent(QPaintEvent*) {
    Form1& form = sink_.form();
    const PictureBox& box = form.pictureBox(id_);
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(box.BackColor));
    // The picture at its own size from the top-left; a larger one is cut by the box.
    const QPixmap picture = pixmapFor(box.Picture);
    if (!picture.isNull()) painter.drawPixmap(0, 0, picture);
    if (id_ == ControlId::Picture1) {
        painter.setFont(font());
        for (const DrawnLabel& label : Layout(form).labelsOn(id_)) paintLabel(painter, label);
    }
}

// Qt's own double-click is only a second press here: the core pairs presses itself.
void FaceWidget::mousePressEvent(QMouseEvent* event) { sink_.pointerEvent(*this, *event); }
void FaceWidget::mouseDoubleClickEvent(QMouseEvent* event) { sink_.pointerEvent(*this, *event); }
void FaceWidget::mouseReleaseEvent(QMouseEvent* event) { sink_.pointerEvent(*this, *event); }

void FaceWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    sink_.userFocus(id_);
}

bool FaceWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const Form1& form = sink_.form();
        if (sink_.controlAt(*this, help->pos()) == ControlId::Label1 && !form.Label1.ToolTipText.empty()) {
            const QRect area = toQRect(Layout(sink_.form()).labelRect(ControlId::Label1));
            QToolTip::showText(help->globalPos(), QString::fromStdString(form.Label1.ToolTipText), this, area);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace horatta::shell
