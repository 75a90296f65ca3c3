// The Qt widgets' drawing and text, against what Qt itself draws and holds.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "linux/label_text.h"
#include "linux/look.h"
#include "linux/text_box_widget.h"
#include "support/simulator.h"

namespace horatta::shell {
namespace {

int argc = 1;
char name[] = "horatta_shell_tests", *argv[] = {name, nullptr};
void application() { static QApplication app(argc, argv); }

constexpr QSize face(67, 20);

// The face as the laid-out text paints the label, or without it as QPainter::drawText draws
// it: what the laid-out text must match.
QImage drawn(const Label& label, const QRect& rect, LabelText* text = nullptr) {
    static const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    QImage image(face, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 128));
    QPainter painter(&image);
    painter.setFont(controlFont());
    if (text) return text->paint(painter, label, rect), painter.end(), image;
    painter.setClipRect(rect);
    painter.setPen(toQColor(label.ForeColor));
    painter.drawText(rect, int(Qt::AlignTop | horizontal[int(label.alignment)] | Qt::TextSingleLine), QString::fromStdString(label.caption()));
    return painter.end(), image;
}

TEST(LabelText, EveryFrameOfAScrollingOrAlignedLabelLooksAsDrawnText) {
    application();
    std::string memo;
    for (int i = 0; i < 200; ++i) memo += "Memo " + std::to_string(i) + " 备忘 ";
    const struct { const char* what; std::string caption; Alignment alignment; int width; /* of the label's rectangle */ } cases[] = {
        {"the time", "21:30:05", Alignment::Left, 60}, {"a blinking alert, centred", "Tea is ready", Alignment::Center, 67},
        {"an odd width centred", "Tea", Alignment::Center, 66}, {"a countdown, right", "00:04:59 关机", Alignment::Right, 67},
        {"tabs and line breaks", "a\tb\nc\rd", Alignment::Left, 60}, {"a long memo", memo, Alignment::Left, 9000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Label label;
        label.setCaption(c.caption);
        label.alignment = c.alignment, label.ForeColor = Color::rgb(255, 255, 0);
        LabelText text;
        for (int left = face.width(); left > -c.width; left -= c.width > 1000 ? 97 : 1)
            ASSERT_EQ(drawn(label, {left, 1, c.width, 18}, &text), drawn(label, {left, 1, c.width, 18})) << "at " << left;
        label.setCaption(c.caption + "!"), label.ForeColor = Color::rgb(255, 0, 0);
        EXPECT_EQ(drawn(label, {2, 1, c.width, 18}, &text), drawn(label, {2, 1, c.width, 18})) << "a new text and colour show";
    }
}

struct Sink : EventSink {
    testing::Simulator clock{Build::Masked};
    Form1& form() override { return clock.form(); }
    void deliver(const std::function<void()>& event) override { event(); }
    void userFocus(ControlId) override {}
    void pointerEvent(const QWidget&, const QMouseEvent&) override {}
    ControlId controlAt(const QWidget&, const QPoint&) override { return ControlId::Text2; }
};

// The model counts characters, the field UTF-16 units: a selection set in one lands on the
// same characters in the other, and a memo of any length goes through whole.
TEST(TextBoxWidget, TheSelectionAndTheTextGoThroughTheFieldWhole) {
    application();
    std::string repeated;
    for (int i = 0; i < 22000; ++i) repeated += "备忘";  // 44,000 characters in three bytes each
    const std::string emoji = "\xF0\x9F\x98\x80";        // two UTF-16 units
    const struct { std::string memo; int selStart, selLength; std::string typed; int caret; } cases[] = {
        {std::string(40000, 'm'), 40000, 0, std::string(40000, 'm') + "!", 40001}, {repeated, 44000, 0, repeated + "!", 44001},
        {"a" + emoji + "b" + emoji + "c", 2, 2, "a" + emoji + "!c", 3}, {emoji + emoji, 9, 5, emoji + emoji + "!", 3} /* clamped */};
    for (const auto& c : cases) {
        Sink sink;
        TextBoxWidget field(ControlId::Text2, sink, nullptr);
        TextBox& memo = sink.form().Text2;
        memo.Text = c.memo, memo.SelStart = c.selStart, memo.SelLength = c.selLength;
        field.showModel(), field.insert("!");
        EXPECT_TRUE(memo.Text == c.typed && memo.SelStart == c.caret && memo.SelLength == 0) << c.memo.size() << " caret " << memo.SelStart;
    }
}

}  // namespace
}  // namespace horatta::shell
