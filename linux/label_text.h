#pragma once

#include <QFont>
#include <QColor>
#include <QGlyphRun>
#include <QImage>
#include <QRect>
#include <QString>
#include <string>
#include <vector>

#include "window/controls.h"

class QPainter;

namespace horatta::shell {

// Whether a label at a rectangle shows anything on a surface of the given size.
bool labelShows(const Label& label, const QRect& rect, const QSize& surface);

// What a label adds to a paint, so that a pass of the model that changes none of it repaints
// nothing.
struct LabelLook {
    bool shown = false;
    std::string caption;
    Color color;
    Alignment alignment = Alignment::Left;
    QRect rect;
    LabelLook() = default;
    LabelLook(const Label& label, const QRect& rect, const QSize& surface);
    bool operator==(const LabelLook&) const = default;
};

// A label's caption laid out and shaped once, so that a frame of a scrolling or blinking face
// only places what it already has. It lays the text out as QPainter::drawText does for one
// line at the top of a rectangle, so the face looks the same to the pixel. The glyphs go in
// short pieces; a frame draws only the pieces that reach into the label's visible part, each
// from a picture of it kept while it stays in view, so a long memo costs no more per frame
// than a short one and holds no more pictures than fit on the face.
// On a denser screen the pictures are drawn in the screen's own pixels with the font at the
// size it has there, hinted at that size, at the places the logical layout gives: strokes
// keep one weight at every scale, where Qt's glyphs drawn under a scale are left unhinted.
class LabelText {
public:
    // Paints the label's caption in its colour and alignment at the rectangle, cut by it.
    // A label that is hidden or lies outside the surface is neither laid out nor drawn.
    void paint(QPainter& painter, const Label& label, const QRect& rect);
    // The same for a text of a field: one line from the top of the rectangle, cut by it.
    void paint(QPainter& painter, const std::string& text, const QRect& rect, Qt::Alignment horizontal,
               const QColor& color);

private:
    // Lays the text out again only when it, or the painter's font, direction or device pixel
    // ratio, differs from the last call.
    void prepare(const QPainter& painter, const std::string& text);
    // Draws in the colour, aligned horizontally in the rectangle and cut by it.
    void draw(QPainter& painter, const QRect& rect, Qt::Alignment horizontal, const QColor& color);

    struct Piece {
        QGlyphRun glyphs;        // in logical pixels
        QGlyphRun deviceGlyphs;  // the same in device pixels, in the font at its device size
        qreal lineAdvance = 0;   // of the line it belongs to, for the alignment
        QRect span;              // what it covers from the line's start, with room for overhangs
        QRect deviceSpan;        // the same in device pixels
        // The glyphs drawn on a clear picture, for the colour and the fraction of a device
        // pixel the line started at: glyphs drawn without smoothing blend to the same pixels.
        QImage picture;
        QColor pictureColor;
        QPointF pictureFraction;
    };

    std::string text_;
    QFont font_;
    Qt::LayoutDirection direction_ = Qt::LeftToRight;
    qreal scale_ = 1;
    bool laidOut_ = false;
    std::vector<Piece> pieces_;
};

}  // namespace horatta::shell
