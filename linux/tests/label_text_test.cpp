#include "linux/label_text.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "linux/look.h"
#include "linux/tests/application.h"

namespace horatta::shell {
namespace {

constexpr QSize face(67, 20);

QImage blank() {
    QImage image(face, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 128));
    return image;
}

// The face as QPainter::drawText draws the label: what the laid-out text must match.
QImage drawnAsText(const Label& label, const QRect& rect) {
    static const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    QImage image = blank();
    QPainter painter(&image);
    painter.setFont(controlFont());
    painter.setClipRect(rect);
    painter.setPen(toQColor(label.ForeColor));
    painter.drawText(rect, int(Qt::AlignTop | horizontal[int(label.alignment)] | Qt::TextSingleLine),
                     QString::fromStdString(label.caption()));
    return image;
}

QImage drawnLaidOut(LabelText& text, const Label& label, const QRect& rect) {
    QImage image = blank();
    QPainter painter(&image);
    painter.setFont(controlFont());
    text.paint(painter, label, rect);
    return image;
}

TEST(LabelText, EveryFrameOfAScrollingOrAlignedLabelLooksAsDrawnText) {
    application();
    std::string memo;
    for (int i = 0; i < 200; ++i) memo += "Memo " + std::to_string(i) + " 备忘 ";
    const struct {
        const char* what;
        std::string caption;
        Alignment alignment;
        int width;  // of the label's rectangle; its left edge moves across the face
    } cases[] = {
        {"the time", "21:30:05", Alignment::Left, 60},
        {"a blinking alert, centred", "Tea is ready", Alignment::Center, 67},
        {"an odd width centred", "Tea", Alignment::Center, 66},
        {"a countdown, right", "00:04:59 关机", Alignment::Right, 67},
        {"tabs and line breaks", "a\tb\nc\rd", Alignment::Left, 60},
        {"a long memo", memo, Alignment::Left, 9000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Label label;
        label.setCaption(c.caption);
        label.alignment = c.alignment;
        label.ForeColor = Color::rgb(255, 255, 0);
        LabelText text;
        for (int left = face.width(); left > -c.width; left -= c.width > 1000 ? 97 : 1) {
            const QRect rect(left, 1, c.width, 18);
            ASSERT_EQ(drawnLaidOut(text, label, rect), drawnAsText(label, rect)) << "at " << left;
        }
        label.setCaption(c.caption + "!");
        label.ForeColor = Color::rgb(255, 0, 0);
        const QRect rect(2, 1, c.width, 18);
        EXPECT_EQ(drawnLaidOut(text, label, rect), drawnAsText(label, rect)) << "a new text and colour show";
    }
}

}  // namespace
}  // namespace horatta::shell
