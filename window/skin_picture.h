#pragma once

namespace horatta {

// The largest of the skin pictures, which come at one, two and three times their design size.
inline constexpr int largestSkinFactor = 3;

// The picture a surface of `scale` device pixels per logical pixel draws from: the nearest at
// or above the scale, so that it is only ever brought down (sharp, where a small picture
// stretched is soft or blocky); the largest above that.
int skinPictureFactor(double scale);

}  // namespace horatta
