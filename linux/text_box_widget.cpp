#include "linux/text_box_widget.h"

#include <QKeyEvent>
#include <algorithm>
#include <limits>
#include <memory>

#include "linux/key_mapping.h"
#include "linux/look.h"
#include "window/utf16.h"

namespace horatta::shell {

TextBoxWidget::TextBoxWidget(ControlId id, EventSink& sink, QWidget* parent)
    : QLineEdit(parent), id_(id), sink_(sink) {
    setFont(controlFont());
    setFrame(false);
    // The memo is kept whole, whatever its length; the field's own limit would cut it.
    setMaxLength(std::numeric_limits<int>::max());
    connect(this, &QLineEdit::textChanged, this, &TextBoxWidget::copyToModel);
    connect(this, &QLineEdit::selectionChanged, this, &TextBoxWidget::copyToModel);
    connect(this, &QLineEdit::cursorPositionChanged, this, &TextBoxWidget::copyToModel);
}

namespace {
// Qt's strings hold UTF-16 units, as the core's position rule takes them.
std::u16string_view units(const QString& text) {
    const QStringView view(text);
    return {view.utf16(), static_cast<std::size_t>(view.size())};
}
}  // namespace

TextBox& TextBoxWidget::box() const {
    Form1& form = sink_.form();
    return id_ == ControlId::Text1 ? form.Text1 : form.Text2;
}

void TextBoxWidget::copyToModel() {
    if (showing_) return;
    TextBox& b = box();
    const QString t = text();
    b.Text = t.toStdString();
    if (hasSelectedText()) {
        const qsizetype start = selectionStart();
        const qsizetype end = start + selectedText().size();
        b.SelStart = utf16::charactersBefore(units(t), static_cast<int>(start));
        b.SelLength = utf16::charactersBefore(units(t), static_cast<int>(end)) - b.SelStart;
    } else {
        b.SelStart = utf16::charactersBefore(units(t), cursorPosition());
        b.SelLength = 0;
    }
}

void TextBoxWidget::showModel() {
    const TextBox& b = box();
    // A style sheet is costly to build and far costlier to apply: only for new colours.
    if (styledFor_ != std::pair(b.BackColor, b.ForeColor)) {
        setStyleSheet(QString("QLineEdit { background: %1; color: %2; border: 1px solid #808080; padding: 0 1px; }")
                          .arg(toQColor(b.BackColor).name(), toQColor(b.ForeColor).name()));
        styledFor_ = std::pair(b.BackColor, b.ForeColor);
    }
    if (matched_ && matched_->text == b.Text && matched_->selStart == b.SelStart && matched_->selLength == b.SelLength)
        return;
    showing_ = true;
    const QString modelText = QString::fromStdString(b.Text);
    if (text() != modelText) setText(modelText);
    const QString t = text();
    const int length = utf16::length(units(t));
    const int start = std::clamp(b.SelStart, 0, length);
    const int count = std::clamp(b.SelLength, 0, length - start);
    const qsizetype from = utf16::unitsBefore(units(t), start);
    const qsizetype to = utf16::unitsBefore(units(t), start + count);
    const bool same = count == 0 ? (!hasSelectedText() && cursorPosition() == from)
                                 : (hasSelectedText() && selectionStart() == from && selectedText().size() == to - from);
    if (!same) {
        if (count == 0)
            setCursorPosition(static_cast<int>(from));
        else
            setSelection(static_cast<int>(from), static_cast<int>(to - from));
    }
    showing_ = false;
    matched_ = Matched{b.Text, b.SelStart, b.SelLength};
}

void TextBoxWidget::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool typing = !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    std::optional<std::int16_t> code;
    if (typing && key != Qt::Key_Tab && key != Qt::Key_Backtab) code = keyAsciiFor(key, event->text());
    if (!code) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // The field takes the key once the handler has had its say; a key that must wait for a
    // running handler takes its copy along.
    sink_.deliver([this, code = *code, key = std::shared_ptr<QKeyEvent>(event->clone())] {
        std::int16_t keyAscii = code;
        Form1& form = sink_.form();
        if (id_ == ControlId::Text1)
            form.Text1_KeyPress(keyAscii);
        else
            form.Text2_KeyPress(keyAscii);
        showModel();  // what the handler made of the text is what the key lands in
        if (keyAscii == code) {
            QLineEdit::keyPressEvent(key.get());  // the key reaches the field unchanged
        } else if (auto replaced = textForKeyAscii(keyAscii)) {
            insert(*replaced);
        }
    });
    // A code of 0 (or any other control code) swallows the key.
}

// The field selects as fields do; whether a press is a double-click for the clock is the
// core's to decide, with its own double-click time.
void TextBoxWidget::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    sink_.pointerEvent(*this, *event);
}

void TextBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    sink_.pointerEvent(*this, *event);
}

void TextBoxWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    QLineEdit::mouseDoubleClickEvent(event);
    sink_.pointerEvent(*this, *event);
}

void TextBoxWidget::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    sink_.userFocus(id_);
}

}  // namespace horatta::shell
