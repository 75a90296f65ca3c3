#include <gtest/gtest.h>

#include <array>
#include <string>

#include "support/simulator.h"
#include "window/layout.h"

namespace horatta::testing {
namespace {

std::array<int, 4> edges(const PixelRect& r) { return {r.left, r.top, r.width, r.height}; }

TEST(Layout, RectanglesAreMappedEdgeByEdge) {
    // Each edge rounds on its own, so controls that meet in twips meet in pixels.
    const std::pair<std::array<float, 4>, std::array<int, 4>> cases[] = {
        {{0, 10, 995, 292}, {0, 1, 66, 19}},     // Picture1
        {{0, 295, 995, 285}, {0, 20, 66, 19}},   // the memo, slid open: it meets Picture1
        {{7, 7, 15, 15}, {0, 0, 1, 1}},          // both edges below half a pixel
        {{7.5f, 7.5f, 15, 15}, {1, 1, 1, 1}},    // half a pixel rounds away from zero
        {{-150, 0, 300, 15}, {-10, 0, 20, 1}},   // a caption scrolled out to the left
        {{-7.5f, 0, 7, 7}, {-1, 0, 1, 0}},       // and one leaving by half a pixel
        {{1, 1, 5, 5}, {0, 0, 0, 0}},            // smaller than a pixel
    };
    for (const auto& [twips, pixels] : cases)
        EXPECT_EQ(edges(toPixelRect(twips[0], twips[1], twips[2], twips[3])), pixels) << twips[0] << ", " << twips[1];
}

TEST(Layout, TheWindowKeepsItsSizeWhereverItsPositionRounds) {
    Simulator clock(Build::Masked);
    Form1& f = clock.form();
    const PixelRect before = Layout(f).window();
    for (float left : {0.0f, 7.0f, 7.5f, 8.0f, -22.5f}) {
        f.Left = left;
        const PixelRect r = Layout(f).window();
        EXPECT_EQ(r.left, toPixels(left)) << left;
        EXPECT_EQ((std::array{r.width, r.height}), (std::array{before.width, before.height})) << left;
    }
    f.Width = 0;
    EXPECT_EQ(Layout(f).window().width, 1) << "a window has at least one pixel";
}

TEST(Layout, ControlsAreStackedFrontToBackAndHiddenOnesSaySo) {
    for (Build build : {Build::Masked, Build::Plain}) {
        SCOPED_TRACE(buildName(build));
        Simulator clock(build);
        Form1& f = clock.form();
        f.Text2.Visible = false;
        const auto placed = Layout(f).controls();
        const auto order = f.stackingOrder();
        for (std::size_t i = 0; i < placed.size(); ++i) {
            EXPECT_EQ(placed[i].id, order[i]);
            EXPECT_EQ(placed[i].visible, f.control(order[i]).Visible) << controlName(order[i]);
            EXPECT_GE(placed[i].rect.width, 0) << controlName(order[i]);
        }
    }
}

TEST(Layout, LabelsArePaintedBackToFrontAndLineUpWithTheFace) {
    Simulator clock(Build::Masked);
    Form1& f = clock.form();
    Layout layout(f);
    const auto face = layout.labelsOn(ControlId::Picture1);
    ASSERT_EQ(face.size(), 2u);
    EXPECT_EQ(face[0].id, ControlId::Label1);
    EXPECT_EQ(face[1].id, ControlId::Label3) << "the handle is drawn over the time";
    // The face lies 10 twips down (a pixel); a label 20 twips below its top lies at 30
    // twips in the window, which is 2 pixels: one pixel into the face, not two.
    f.Picture1.Top = 10;
    f.Label1.Top = 20;
    EXPECT_EQ(Layout(f).labelRect(ControlId::Label1).top, 1);
    EXPECT_EQ(Layout(f).labelRectInWindow(ControlId::Label1).top, 2);

    f.Label3.Visible = false;
    const auto shown = Layout(f).labelsOn(ControlId::Picture1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].id, ControlId::Label1);
    EXPECT_EQ(Layout(f).labelsOn(ControlId::Picture2).size(), 0u) << "the panel carries no label";
}

TEST(Layout, AWindowLeftOnItsPixelKeepsItsTwips) {
    Simulator clock(Build::Masked);
    Form1& f = clock.form();
    const WindowPosition from{13607, 598};  // not on a whole pixel
    const WindowPosition same = Layout(f).positionAt(907, 40, from);
    EXPECT_EQ((std::array{same.left, same.top}), (std::array{from.left, from.top}));
    const WindowPosition moved = Layout(f).positionAt(908, 40, from);
    EXPECT_EQ((std::array{moved.left, moved.top}), (std::array{13620.0f, 600.0f}));
}

}  // namespace
}  // namespace horatta::testing
