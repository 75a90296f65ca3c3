#include <gtest/gtest.h>

#include <array>

#include "linux/geometry.h"

namespace horatta::shell {
namespace {

TEST(Geometry, RectanglesAreMappedEdgeByEdge) {
    // Each edge rounds on its own, so controls that meet in twips meet in pixels.
    const std::pair<std::array<float, 4>, std::array<int, 4>> cases[] = {
        {{0, 10, 995, 292}, {0, 1, 66, 19}},     // Picture1
        {{185, 50, 660, 200}, {12, 3, 44, 14}},  // the shutdown-time field
        {{0, 295, 995, 285}, {0, 20, 66, 19}},   // the memo, slid open: it meets Picture1
        {{-150, 0, 300, 15}, {-10, 0, 20, 1}},   // a caption scrolled out to the left
        {{1, 1, 5, 5}, {0, 0, 0, 0}},            // smaller than a pixel
    };
    for (const auto& [twips, pixels] : cases) {
        const PixelRect r = toPixelRect(twips[0], twips[1], twips[2], twips[3]);
        EXPECT_EQ((std::array{r.left, r.top, r.width, r.height}), pixels) << twips[0] << ", " << twips[1];
    }
}

}  // namespace
}  // namespace horatta::shell
