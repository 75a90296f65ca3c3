#include <gtest/gtest.h>

#include "linux/geometry.h"
#include "tests/support/fake_platform.h"

namespace horatta::shell {
namespace {

TEST(Geometry, TheStripIs67By20PixelsAtItsDefaultPlace) {
    EXPECT_EQ(toPixels(1000), 67);
    EXPECT_EQ(toPixels(300), 20);
    EXPECT_EQ(windowPixelPosition(13605, 600), (PixelPoint{907, 40}));
    EXPECT_EQ(windowPixelPosition(10200, 660), (PixelPoint{680, 44}));
}

TEST(Geometry, RectanglesAreMappedEdgeByEdge) {
    // Each edge rounds on its own, so controls that meet in twips meet in pixels.
    struct Case {
        float left, top, width, height;
        PixelRect expected;
    } cases[] = {
        {0, 10, 995, 292, {0, 1, 66, 19}},     // Picture1
        {185, 50, 660, 200, {12, 3, 44, 14}},  // the shutdown-time field
        {0, 295, 995, 285, {0, 20, 66, 19}},   // the memo, slid open
        {-150, 0, 300, 15, {-10, 0, 20, 1}},   // a caption scrolled out to the left
        {1, 1, 5, 5, {0, 0, 0, 0}},            // smaller than a pixel
    };
    for (const Case& c : cases) {
        const PixelRect r = toPixelRect(c.left, c.top, c.width, c.height);
        EXPECT_EQ(r.left, c.expected.left) << c.left;
        EXPECT_EQ(r.top, c.expected.top) << c.top;
        EXPECT_EQ(r.width, c.expected.width) << c.width;
        EXPECT_EQ(r.height, c.expected.height) << c.height;
    }
}

class FaceHitTest : public ::testing::Test {
protected:
    testing::FakePlatform platform;
    Form1 form{Build::Masked, platform};
};

TEST_F(FaceHitTest, PressesLandOnTheHandleTheTimeOrTheFace) {
    form.Label1.setCaption("12:34:56");  // 8 characters of 75 twips: 40 pixels from x 10
    EXPECT_EQ(faceControlAt(form, 2, 5), ControlId::Label3);
    EXPECT_EQ(faceControlAt(form, 9, 5), ControlId::Label3);
    EXPECT_EQ(faceControlAt(form, 10, 5), ControlId::Label1);
    EXPECT_EQ(faceControlAt(form, 49, 5), ControlId::Label1);
    EXPECT_EQ(faceControlAt(form, 50, 5), ControlId::Picture1);  // right of the time
    EXPECT_EQ(faceControlAt(form, 20, 17), ControlId::Picture1);  // below it
}

TEST_F(FaceHitTest, AHiddenLabelTakesNoPress) {
    form.Label1.Visible = false;
    form.Label3.Visible = false;
    EXPECT_EQ(faceControlAt(form, 2, 5), ControlId::Picture1);
    EXPECT_EQ(faceControlAt(form, 20, 5), ControlId::Picture1);
}

TEST_F(FaceHitTest, TheHandleStaysInFrontOfATimeScrolledOverIt) {
    form.Label1.Left = -25;
    form.Label1.setCaption("a long reminder text");
    EXPECT_EQ(faceControlAt(form, 3, 5), ControlId::Label3);
    EXPECT_EQ(faceControlAt(form, 30, 5), ControlId::Label1);
}

}  // namespace
}  // namespace horatta::shell
