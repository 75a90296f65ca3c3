#pragma once

#include <optional>

#include "platform/platform.h"
#include "window/form1.h"

namespace horatta::shell {

// Logical pixels of the desktop: the model keeps twips, 15 to a pixel.
inline constexpr int twipsPerPixel = 15;

int toPixels(float twips);
float toTwips(int pixels);

// A rectangle in twips mapped to pixels edge by edge, so neighbouring controls meet
// without gaps or overlaps however their twips round.
PixelRect toPixelRect(float left, float top, float width, float height);
PixelRect pixelRect(const Control& control);

// The rectangle of a label relative to the picture box that holds it.
PixelRect labelRectInPicture(const Form1& form, const Label& label);

// The window's pixel position for the model's twips.
struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};
PixelPoint windowPixelPosition(float leftTwips, float topTwips);

}  // namespace horatta::shell
