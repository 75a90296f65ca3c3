#include "linux/label_text.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

#include "linux/look.h"

namespace horatta::shell {

namespace {

// Small enough that a frame draws little besides what shows, large enough to stay few.
constexpr qsizetype glyphsPerPiece = 32;

// What drawText makes of a one-line text before it lays it out: line breaks, returns and
// tabs become spaces, and only the first of several length variants counts.
QString asOneLine(const QString& text) {
    QString line = text.left(text.indexOf(QChar(0x9c)));
    for (QChar& c : line)
        if (c == u'\r' || c == u'\n' || c == u'\t') c = u' ';
    return line;
}

Qt::Alignment horizontal(Alignment alignment) {
    switch (alignment) {
        case Alignment::Right: return Qt::AlignRight;
        case Alignment::Center: return Qt::AlignHCenter;
        case Alignment::Left: break;
    }
    return Qt::AlignLeft;
}

}  // namespace

bool labelShows(const Label& label, const QRect& rect, const QSize& surface) {
    return label.Visible && !label.caption().empty() && rect.intersects(QRect(QPoint(0, 0), surface));
}

LabelLook::LabelLook(const Label& label, const QRect& rect, const QSize& surface)
    : shown(labelShows(label, rect, surface)) {
    if (!shown) return;  // where nothing shows, nothing else counts
    caption = label.caption();
    color = label.ForeColor;
    alignment = label.alignment;
    this->rect = rect;
}

void LabelText::paint(QPainter& painter, const Label& label, const QRect& rect) {
    const QPaintDevice* device = painter.device();
    if (!labelShows(label, rect, QSize(device->width(), device->height()))) return;
    prepare(painter, label.caption());
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setPen(toQColor(label.ForeColor));
    draw(painter, rect, horizontal(label.alignment));
    painter.restore();
}

void LabelText::prepare(const QPainter& painter, const std::string& text) {
    const QFont& font = painter.font();
    if (laidOut_ && text == text_ && font == font_ && painter.layoutDirection() == direction_) return;
    text_ = text;
    font_ = font;
    direction_ = painter.layoutDirection();
    laidOut_ = true;
    pieces_.clear();

    QTextLayout layout(asOneLine(QString::fromStdString(text)), font, painter.device());
    QTextOption option;
    option.setTextDirection(direction_);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    const qreal leading = QFontMetricsF(layout.font()).leading();
    qreal height = -leading;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(0x01000000);
        height += leading;
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();

    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        for (const QGlyphRun& run : line.glyphRuns()) {
            const QList<quint32> indexes = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            const QRawFont font = run.rawFont();
            const qreal overhang = std::max<qreal>(font.pixelSize(), 1);
            for (qsizetype from = 0; from < indexes.size(); from += glyphsPerPiece) {
                const qsizetype count = std::min(glyphsPerPiece, indexes.size() - from);
                Piece piece;
                piece.glyphs.setRawFont(font);
                piece.glyphs.setFlags(run.flags());
                piece.glyphs.setGlyphIndexes(indexes.mid(from, count));
                piece.glyphs.setPositions(positions.mid(from, count));
                piece.lineAdvance = line.horizontalAdvance();
                const auto [least, most] = std::minmax_element(
                    positions.begin() + from, positions.begin() + from + count,
                    [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
                piece.left = least->x() - overhang;
                piece.right = most->x() + 2 * overhang;
                pieces_.push_back(std::move(piece));
            }
        }
    }
}

void LabelText::draw(QPainter& painter, const QRect& rect, Qt::Alignment horizontal) const {
    const QPaintDevice* device = painter.device();
    const QRect shown = rect & QRect(0, 0, device->width(), device->height());
    if (shown.isEmpty()) return;
    for (const Piece& piece : pieces_) {
        qreal x = rect.x();
        if (horizontal & Qt::AlignRight)
            x += rect.width() - piece.lineAdvance;
        else if (horizontal & Qt::AlignHCenter)
            x += (rect.width() - piece.lineAdvance) / 2;
        if (x + piece.right < shown.left() || x + piece.left > shown.right() + 1) continue;
        painter.drawGlyphRun(QPointF(x, rect.y()), piece.glyphs);
    }
}

}  // namespace horatta::shell
