#include "linux/face_widget.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "linux/geometry.h"
#include "linux/look.h"

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

void paintLabel(QPainter& painter, const Form1& form, const Label& label) {
    if (!label.Visible || label.caption().empty()) return;
    const QRect r = toQRect(labelRectInPicture(form, label));
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
        paintLabel(painter, form, form.Label1);
        paintLabel(painter, form, form.Label3);
    }
}

ControlId FaceWidget::controlAt(const QPoint& point) const {
    if (id_ != ControlId::Picture1) return id_;
    return faceControlAt(sink_.form(), point.x(), point.y());
}

void FaceWidget::press(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const ControlId target = controlAt(at);
    pressed_ = target;
    pressedButton_ = event->button();
    const std::int16_t button = buttonCode(event->button());
    if (button == 0) return;
    const std::int16_t shift = shiftCode(event->modifiers());
    Form1& form = sink_.form();
    if (target == ControlId::Label1 || target == ControlId::Label3) {
        Label& label = target == ControlId::Label1 ? form.Label1 : form.Label3;
        const PixelRect r = labelRectInPicture(form, label);
        const float x = toTwips(at.x() - r.left);
        const float y = toTwips(at.y() - r.top);
        if (target == ControlId::Label1)
            sink_.deliver([&] { form.Label1_MouseDown(button, shift, x, y); });
        else
            sink_.deliver([&] { form.Label3_MouseDown(button, shift, x, y); });
    }
    // The picture boxes have no press handler of their own: their click comes on release.
}

void FaceWidget::mousePressEvent(QMouseEvent* event) { press(event); }

void FaceWidget::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool click = id_ == ControlId::Picture1 && event->button() == Qt::LeftButton &&
                       pressedButton_ == Qt::LeftButton && pressed_ == ControlId::Picture1 && rect().contains(at) &&
                       controlAt(at) == ControlId::Picture1;
    if (event->button() == pressedButton_) pressedButton_ = Qt::NoButton;
    if (click) {
        Form1& form = sink_.form();
        sink_.deliver([&] { form.Picture1_Click(); });
    }
}

void FaceWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double-click raises the double-click only, and only when the
    // first press was on the same control; anything else is an ordinary press.
    const ControlId target = controlAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || pressed_ != target) {
        press(event);
        return;
    }
    pressed_.reset();
    pressedButton_ = Qt::LeftButton;
    Form1& form = sink_.form();
    switch (target) {
        case ControlId::Label1: sink_.deliver([&] { form.Label1_DblClick(); }); break;
        case ControlId::Label3: sink_.deliver([&] { form.Label3_DblClick(); }); break;
        case ControlId::Picture1: sink_.deliver([&] { form.Picture1_DblClick(); }); break;
        case ControlId::Picture2: sink_.deliver([&] { form.Picture2_DblClick(); }); break;
        default: break;
    }
}

void FaceWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    sink_.userFocus(id_);
}

bool FaceWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const Form1& form = sink_.form();
        if (controlAt(help->pos()) == ControlId::Label1 && !form.Label1.ToolTipText.empty()) {
            const QRect area = toQRect(labelRectInPicture(form, form.Label1));
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
