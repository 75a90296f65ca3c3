#include "window/skin_picture.h"

namespace horatta {

int skinPictureFactor(double scale) {
    for (int factor = 1; factor < largestSkinFactor; ++factor)
        if (scale <= factor) return factor;
    return largestSkinFactor;
}

}  // namespace horatta
