#include "linux/geometry.h"

#include <cmath>

namespace horatta::shell {

int toPixels(float twips) { return static_cast<int>(std::lround(static_cast<double>(twips) / twipsPerPixel)); }

float toTwips(int pixels) { return static_cast<float>(pixels * twipsPerPixel); }

PixelRect toPixelRect(float left, float top, float width, float height) {
    const int l = toPixels(left);
    const int t = toPixels(top);
    const int r = toPixels(left + width);
    const int b = toPixels(top + height);
    return {l, t, r - l, b - t};
}

PixelRect pixelRect(const Control& c) { return toPixelRect(c.Left, c.Top, c.Width, c.Height); }

PixelRect labelRectInPicture(const Form1& form, const Label& label) {
    // Map the label's edges in window twips, then make them relative to the picture box,
    // so that the label lines up with where the picture box itself is drawn.
    const PictureBox& picture = form.Picture1;
    const PixelRect box = pixelRect(picture);
    PixelRect r = toPixelRect(picture.Left + label.Left, picture.Top + label.Top, label.Width, label.Height);
    r.left -= box.left;
    r.top -= box.top;
    return r;
}

PixelPoint windowPixelPosition(float leftTwips, float topTwips) { return {toPixels(leftTwips), toPixels(topTwips)}; }

}  // namespace horatta::shell
