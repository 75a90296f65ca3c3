#pragma once

#include <QPixmap>

#include "window/controls.h"

namespace horatta::shell {

// The picture a model image shows on a surface of the given device pixel ratio; a null pixmap
// for none. It covers the same logical area at every ratio, in the surface's own pixels.
QPixmap pixmapFor(Image image, qreal scale = 1);

}  // namespace horatta::shell
