#include "linux/clock_window.h"

#include <QPainter>
#include <algorithm>
#include <vector>

#include "linux/look.h"
#include "platform/attention_flash.h"
#include "window/layout.h"
#include "window/tab_order.h"

namespace horatta::shell {

namespace {

// Inverts what the widgets beneath it drew.
class FlashCover : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        auto* cover = static_cast<QWidget*>(watched);
        QPainter painter(cover);
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.fillRect(cover->rect(), Qt::white);
        return true;
    }
};
}  // namespace

ClockWindow::ClockWindow(EventSink& sink)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      sink_(sink),
      picture1_(ControlId::Picture1, sink, this),
      picture2_(ControlId::Picture2, sink, this),
      flashCover_(this),
      names_(*this, sink.form()) {
    Form1& form = sink.form();
    setWindowTitle(QString::fromStdString(form.Caption));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The date tool-tip shows on hover although the clock is seldom the active window.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFont(controlFont());

    adopt(picture1_, ControlId::Picture1);
    adopt(picture2_, ControlId::Picture2);
    arrange();

    flashCover_.setAttribute(Qt::WA_TransparentForMouseEvents);
    flashCover_.setFocusPolicy(Qt::NoFocus);
    flashCover_.installEventFilter(new FlashCover(&flashCover_));
    flashCover_.hide();
    flashTimer_.setSingleShot(true);
    connect(&flashTimer_, &QTimer::timeout, this, [this] { showFlash(); });
}

void ClockWindow::flash() {
    sinceFlash_.start();
    showFlash();
}

void ClockWindow::showFlash() {
    const std::int64_t elapsed = sinceFlash_.elapsed();
    const std::optional<bool> inverted = AttentionFlash::invertedAt(elapsed);
    if (inverted.value_or(false)) {
        flashCover_.setGeometry(rect());
        flashCover_.raise();
    }
    flashCover_.setVisible(inverted.value_or(false));
    if (inverted) flashTimer_.start(AttentionFlash::nextChangeInMs(elapsed));
}

void ClockWindow::adopt(QWidget& widget, ControlId id) {
    widget.setFocusPolicy(sink_.form().control(id).TabIndex < 0 ? Qt::ClickFocus : Qt::StrongFocus);
    widget.hide();
    if (const std::string_view name = fieldName(sink_.form(), id); !name.empty())
        widget.setAccessibleName(QString::fromUtf8(name.data(), qsizetype(name.size())));
}

void ClockWindow::arrange() {
    Form1& form = sink_.form();
    // Raising each from the back leaves the first in front; a flash stays in front of all.
    const auto order = form.stackingOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (QWidget* w = madeWidgetFor(*it)) w->raise();
    if (flashCover_.isVisible()) flashCover_.raise();

    // The keyboard goes round the controls in their tab order; a field without a tab
    // index takes it only from a click or from the program.
    QWidget* previous = nullptr;
    for (ControlId id : tabOrder(form)) {
        QWidget* w = madeWidgetFor(id);
        if (!w) continue;
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

template <typename W> W* ClockWindow::made(std::unique_ptr<W>& widget, ControlId id) {
    if (!widget) {
        widget = std::make_unique<W>(id, sink_, this);
        adopt(*widget, id);
        arrange();
    }
    return widget.get();
}

QWidget* ClockWindow::widgetFor(ControlId id) {
    switch (id) {
        case ControlId::Text1: return made(text1_, id);
        case ControlId::Text2: return made(text2_, id);
        default: break;
    }
    if (TimeFieldWidget* field = timeFieldFor(id)) return field;
    return madeWidgetFor(id);
}

TimeFieldWidget* ClockWindow::timeFieldFor(ControlId id) {
    Form1& form = sink_.form();
    if (id == form.shutdownFieldId()) return made(shutdownField_, id);
    if (id == form.reminderFieldId()) return made(reminderField_, id);
    return nullptr;
}

QWidget* ClockWindow::madeWidgetFor(ControlId id) {
    Form1& form = sink_.form();
    switch (id) {
        case ControlId::Form1: return this;
        case ControlId::Picture1: return &picture1_;
        case ControlId::Picture2: return &picture2_;
        case ControlId::Text1: return text1_.get();
        case ControlId::Text2: return text2_.get();
        default: break;
    }
    if (id == form.shutdownFieldId()) return shutdownField_.get();
    if (id == form.reminderFieldId()) return reminderField_.get();
    return nullptr;
}

void ClockWindow::showModel(bool atOnce) {
    Form1& form = sink_.form();
    const Layout layout(form);
    const QRect placed = toQRect(layout.window());
    if (!dragging_ && placed_ != placed.topLeft()) {
        placed_ = placed.topLeft();
        move(placed.topLeft());
    }
    // A fixed size, not a mere resize: a window manager reads it from the size hints, and one
    // that gives floating windows a least size of its own (i3) would otherwise grow the strip.
    if (placed.size() != size() || minimumSize() != placed.size()) setFixedSize(placed.size());

    for (const Placement& control : layout.controls()) {
        // A control that has never shown has no widget to hide.
        QWidget* w = control.visible ? widgetFor(control.id) : madeWidgetFor(control.id);
        if (!w) continue;
        const QRect r = toQRect(control.rect);
        if (w->geometry() != r) w->setGeometry(r);
        if (w->isVisibleTo(this) != control.visible) w->setVisible(control.visible);
    }
    // Each surface repaints only when what it shows has changed.
    picture1_.showModel(atOnce);
    picture2_.showModel();
    for (TimeFieldWidget* field : {shutdownField_.get(), reminderField_.get()})
        if (field) field->showModel();
    for (TextBoxWidget* box : {text1_.get(), text2_.get()})
        if (box) box->showModel();
    Look look{form.BackColor, LabelLook(form.Label2, toQRect(layout.labelRect(ControlId::Label2)), size())};
    if (!painted_ || look != shown_) {
        shown_ = std::move(look);
        painted_ = true;
        update();
    }
    names_.shown();
}

void ClockWindow::paintEvent(QPaintEvent*) {
    Form1& form = sink_.form();
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(form.BackColor));
    // Label2 lies on the window's own surface, below every windowed control.
    painter.setFont(font());
    for (const DrawnLabel& drawn : Layout(form).labelsOn(ControlId::Form1))
        if (drawn.id == ControlId::Label2) label2Text_.paint(painter, *drawn.label, toQRect(drawn.rect));
}

}  // namespace horatta::shell
