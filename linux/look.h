#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRect>
#include <QWidget>

#include "platform/platform.h"
#include "window/controls.h"

namespace horatta::shell {

// A model colour on screen. The four system colours the window uses have no standing
// on a Linux desktop; they take the classic values the design was drawn against, so the
// clock looks the same under every desktop theme.
QColor toQColor(const Color& color);

// The one font of every control: MS Sans Serif 8.25 points where it exists, else the
// nearest sans the system has, at the 11 pixels those 8.25 points are on a 96 dpi screen.
// Drawn without smoothing, as the small bitmap font was.
QFont controlFont();

// Gives each field on the window that Qt draws itself the smoothing for the window's scale.
// Qt draws glyphs under a scale without hinting, so a 1-pixel stem of the unsmoothed font
// comes out one or two device pixels wide at a fractional scale: there the text is smoothed,
// which keeps every stroke of one weight. At whole scales it stays unsmoothed, as at 1.
void fitFieldFontsToScale(QWidget& window);

QIcon windowIcon();

// A rectangle of the core's layout, in the window's logical pixels.
inline QRect toQRect(const PixelRect& r) { return QRect(r.left, r.top, r.width, r.height); }

}  // namespace horatta::shell
