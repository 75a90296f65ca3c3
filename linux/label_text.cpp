#include "linux/label_text.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

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
    paint(painter, label.caption(), rect, horizontal(label.alignment), toQColor(label.ForeColor));
}

void LabelText::paint(QPainter& painter, const std::string& text, const QRect& rect, Qt::Alignment horizontal,
                      const QColor& color) {
    if (text.empty()) return;
    prepare(painter, text);
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    draw(painter, rect, horizontal, color);
    painter.restore();
}

void LabelText::prepare(const QPainter& painter, const std::string& text) {
    const QFont& font = painter.font();
    const qreal scale = painter.device()->devicePixelRatioF();
    if (laidOut_ && text == text_ && font == font_ && painter.layoutDirection() == direction_ && scale == scale_)
        return;
    text_ = text;
    font_ = font;
    direction_ = painter.layoutDirection();
    scale_ = scale;
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
            QRawFont deviceFont = font;
            if (scale != 1) deviceFont.setPixelSize(font.pixelSize() * scale);
            const int overhang = std::max(qCeil(font.pixelSize()), 1);
            const int top = qFloor(line.y()) - overhang;
            const int bottom = qCeil(line.y() + line.height()) + overhang;
            for (qsizetype from = 0; from < indexes.size(); from += glyphsPerPiece) {
                const qsizetype count = std::min(glyphsPerPiece, indexes.size() - from);
                Piece piece;
                piece.glyphs.setRawFont(font);
                piece.glyphs.setFlags(run.flags());
                piece.glyphs.setGlyphIndexes(indexes.mid(from, count));
                piece.glyphs.setPositions(positions.mid(from, count));
                piece.deviceGlyphs = piece.glyphs;
                if (scale != 1) {
                    QList<QPointF> devicePositions = positions.mid(from, count);
                    for (QPointF& position : devicePositions) position *= scale;
                    piece.deviceGlyphs.setRawFont(deviceFont);
                    piece.deviceGlyphs.setPositions(devicePositions);
                }
                piece.lineAdvance = line.horizontalAdvance();
                const auto [least, most] = std::minmax_element(
                    positions.begin() + from, positions.begin() + from + count,
                    [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
                const int left = qFloor(least->x()) - overhang;
                piece.span = QRect(QPoint(left, top), QPoint(qCeil(most->x()) + 2 * overhang, bottom));
                const QRectF device(QPointF(piece.span.topLeft()) * scale, QSizeF(piece.span.size()) * scale);
                piece.deviceSpan = device.toAlignedRect();
                pieces_.push_back(std::move(piece));
            }
        }
    }
}

void LabelText::draw(QPainter& painter, const QRect& rect, Qt::Alignment horizontal, const QColor& color) {
    const QPaintDevice* device = painter.device();
    const QRect shown = rect & QRect(0, 0, device->width(), device->height());
    // Each picture goes onto whole device pixels, so that it is copied as it is drawn.
    const QTransform& toDevice = painter.deviceTransform();
    const QTransform fromDevice = toDevice.inverted();
    for (Piece& piece : pieces_) {
        qreal x = rect.x();
        if (horizontal & Qt::AlignRight)
            x += rect.width() - piece.lineAdvance;
        else if (horizontal & Qt::AlignHCenter)
            x += (rect.width() - piece.lineAdvance) / 2;
        if (!piece.span.translated(qFloor(x), rect.y()).intersects(shown)) {
            piece.picture = QImage();  // out of view: its picture is made again should it return
            continue;
        }
        const QPointF start = toDevice.map(QPointF(x, rect.y()));
        const QPointF whole(std::floor(start.x()), std::floor(start.y()));
        const QPointF fraction = start - whole;
        if (piece.picture.isNull() || piece.pictureColor != color || piece.pictureFraction != fraction) {
            piece.picture = QImage(piece.deviceSpan.size(), QImage::Format_ARGB32_Premultiplied);
            piece.picture.fill(Qt::transparent);
            QPainter picture(&piece.picture);
            picture.setPen(color);
            picture.drawGlyphRun(fraction - QPointF(piece.deviceSpan.topLeft()), piece.deviceGlyphs);
            picture.end();
            piece.picture.setDevicePixelRatio(scale_);
            piece.pictureColor = color;
            piece.pictureFraction = fraction;
        }
        painter.drawImage(fromDevice.map(whole + QPointF(piece.deviceSpan.topLeft())), piece.picture);
    }
}

}  // namespace horatta::shell
