#include "window/screen_placement.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace horatta {

WindowPosition placeOnScreens(WindowPosition at, float width, float height, const std::vector<PixelRect>& screens,
                              int twipsPerPixelX, int twipsPerPixelY) {
    const float tx = static_cast<float>(twipsPerPixelX);
    const float ty = static_cast<float>(twipsPerPixelY);
    struct Box { float left, top, right, bottom; };
    std::optional<Box> best;
    // In double: the square of a distance in twips can pass a float's range.
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const PixelRect& s : screens) {
        // A screen of no size (one being plugged in or out) can hold nothing.
        if (s.width <= 0 || s.height <= 0) continue;
        const Box b{s.left * tx, s.top * ty, (s.left + s.width) * tx, (s.top + s.height) * ty};
        // How far the window reaches past the screen's edges: 0 when it lies wholly on it,
        // and then the clamp below leaves it where it is.
        const double dx = std::max({b.left - at.left, 0.0f, at.left + width - b.right});
        const double dy = std::max({b.top - at.top, 0.0f, at.top + height - b.bottom});
        const double distance = dx * dx + dy * dy;
        if (!best || distance < bestDistance) {
            best = b;
            bestDistance = distance;
        }
    }
    if (!best) return at;
    return {std::max(best->left, std::min(at.left, best->right - width)),
            std::max(best->top, std::min(at.top, best->bottom - height))};
}

}  // namespace horatta
