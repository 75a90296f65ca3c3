#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>

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

// The picture a model image shows; a null pixmap for none.
QPixmap pixmapFor(Image image);
QIcon windowIcon();

}  // namespace horatta::shell
