#pragma once

#include <vector>

#include "platform/platform.h"

namespace horatta {

// Where a window of the given size (twips) lies wholly on a screen: where it is when it
// already lies wholly on one; otherwise on the nearest screen, moved as little as it can be.
// Of screens equally near, the first listed (the primary) wins. Screens of no size hold
// nothing; with none left the window stays where it is.
WindowPosition placeOnScreens(WindowPosition at, float width, float height, const std::vector<PixelRect>& screens,
                              int twipsPerPixelX, int twipsPerPixelY);

}  // namespace horatta
