#include <gtest/gtest.h>

#include "linux/geometry.h"
#include "tests/support/fake_platform.h"

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

TEST(Geometry, PressesLandOnTheHandleTheTimeOrTheFace) {
    testing::FakePlatform platform;
    Form1 form{Build::Masked, platform};
    form.Label1.setCaption("12:34:56");  // 8 characters of 75 twips: 40 pixels from x 10
    const std::pair<int, ControlId> columns[] = {
        {9, ControlId::Label3}, {10, ControlId::Label1}, {49, ControlId::Label1}, {50, ControlId::Picture1}};
    for (const auto& [x, control] : columns) EXPECT_EQ(faceControlAt(form, x, 5), control) << x;
    EXPECT_EQ(faceControlAt(form, 20, 17), ControlId::Picture1) << "below the time";

    // The handle stays in front of a time scrolled over it.
    form.Label1.Left = -25;
    form.Label1.setCaption("a long reminder text");
    EXPECT_EQ(faceControlAt(form, 3, 5), ControlId::Label3);
    EXPECT_EQ(faceControlAt(form, 30, 5), ControlId::Label1);

    // A hidden label takes no press.
    form.Label1.Visible = false;
    form.Label3.Visible = false;
    EXPECT_EQ(faceControlAt(form, 3, 5), ControlId::Picture1);
    EXPECT_EQ(faceControlAt(form, 30, 5), ControlId::Picture1);
}

}  // namespace
}  // namespace horatta::shell
