#include "linux/face_widget.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "linux/first_frame.h"
#include "linux/look.h"
#include "linux/skins.h"
#include "window/layout.h"

namespace horatta::shell {

FaceWidget::FaceWidget(ControlId id, EventSink& sink, QWidget* parent) : QWidget(parent), id_(id), sink_(sink) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(controlFont());
}

FaceWidget::Look FaceWidget::modelLook() const {
    Form1& form = sink_.form();
    const PictureBox& box = form.pictureBox(id_);
    Look look{box.BackColor, box.Picture, {}, {}};
    if (id_ == ControlId::Picture1) {
        const Layout layout(form);
        look.label1 = LabelLook(form.Label1, toQRect(layout.labelRect(ControlId::Label1)), size());
        look.label3 = LabelLook(form.Label3, toQRect(layout.labelRect(ControlId::Label3)), size());
    }
    return look;
}

void FaceWidget::showModel(bool atOnce) {
    Look look = modelLook();
    if (painted_ && look == shown_) return;
    shown_ = std::move(look);
    painted_ = true;
    if (atOnce) repaint(); else update();
}

void FaceWidget::paintEvent(QPaintEvent*) {
    Form1& form = sink_.form();
    const PictureBox& box = form.pictureBox(id_);
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(box.BackColor));
    // The picture at its own size from the top-left; a larger one is cut by the box. It is
    // chosen again for a screen of another density, whose first paint comes here too.
    const qreal scale = devicePixelRatioF();
    if (box.Picture != pictureImage_ || scale != pictureScale_) {
        pictureImage_ = box.Picture;
        pictureScale_ = scale;
        picture_ = pixmapFor(box.Picture, scale);
    }
    if (!picture_.isNull()) painter.drawPixmap(0, 0, picture_);
    if (id_ == ControlId::Picture1) {
        painter.setFont(font());
        for (const DrawnLabel& drawn : Layout(form).labelsOn(id_)) {
            LabelText& text = drawn.id == ControlId::Label3 ? label3Text_ : label1Text_;
            text.paint(painter, *drawn.label, toQRect(drawn.rect));
        }
        first_frame::painted();
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
