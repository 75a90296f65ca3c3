#include <gtest/gtest.h>

#include "support/simulator.h"

namespace horatta::testing {
namespace {

const Color red = Color::rgb(255, 0, 0);

// Colour and skin behave the same in both programs.
Simulator freshClock(const Simulator::Settings& stored = {}) {
    return Simulator(Build::Masked, at(2026, 12, 6, 9, 15, 0, 0), stored);
}

TEST(ColourStep, TwelveLeftPressesRunThroughTheColoursAndStoreEachIndex) {
    Simulator sim = freshClock();
    Form1& form = sim.form();
    ASSERT_EQ(form.Label1.ForeColor, red);
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        const Color before = form.Label1.ForeColor;
        form.Label1_MouseDown(buttonLeft, 0, 0, 0);
        EXPECT_EQ(form.Label1.ForeColor, colorTable[static_cast<std::size_t>(i)].step);
        EXPECT_EQ(form.Label3.ForeColor, before);
        EXPECT_EQ(sim.platform().stored("time2"), std::to_string(i));
        EXPECT_EQ(form.colorIndex, i == 11 ? 0 : i + 1);
    }
    EXPECT_EQ(form.Label1.ForeColor, red);
}

TEST(SkinStep, EightRightPressesRunThroughTheSkinsAndStoreEachIndex) {
    Simulator sim = freshClock({{"time3", "7"}});
    Form1& form = sim.form();
    const Image expected[]{Image::Skin4, Image::Skin3, Image::Skin8, Image::Skin5,
                           Image::Skin6, Image::Skin9, Image::None,  Image::Skin7};
    const Color colour = form.Label1.ForeColor;
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        form.Label1_MouseDown(buttonRight, 0, 0, 0);
        EXPECT_EQ(form.Picture1.Picture, expected[i]);
        EXPECT_EQ(sim.platform().stored("time3"), std::to_string(i));
    }
    EXPECT_EQ(form.skinIndex, 0);
    EXPECT_EQ(form.Label1.ForeColor, colour);
    EXPECT_FALSE(sim.platform().stored("time2"));
}

// Every press drags first; the step and its write come only when the drag has returned,
// and a middle press only drags.
TEST(ColourAndSkin, APressDragsFirstAndStepsAfterwards) {
    for (std::int16_t button : {buttonLeft, buttonRight, buttonMiddle}) {
        SCOPED_TRACE(button);
        Simulator sim = freshClock();
        Form1& form = sim.form();
        const Color colour = form.Label1.ForeColor;
        const Image skin = form.Picture1.Picture;
        bool unchangedDuringDrag = false;
        sim.platform().dragTo = WindowPosition{3000, 450};
        sim.platform().memory.writtenNames.clear();
        sim.platform().duringDrag = [&] {
            unchangedDuringDrag =
                form.Label1.ForeColor == colour && form.Picture1.Picture == skin && sim.platform().memory.writtenNames.empty();
        };
        form.Label1_MouseDown(button, 0, 0, 0);
        EXPECT_TRUE(unchangedDuringDrag);
        EXPECT_EQ(form.Left, 3000);
        EXPECT_EQ(form.Top, 450);
        EXPECT_EQ(form.Label1.ForeColor != colour, button == buttonLeft);
        EXPECT_EQ(form.Picture1.Picture != skin, button == buttonRight);
        EXPECT_EQ(sim.platform().memory.writtenNames.size(), button == buttonMiddle ? 0u : 1u);
    }
}

TEST(ColourStep, AnIndexOutOfTheTableChangesNothingButIsStoredAndCounted) {
    Simulator sim = freshClock({{"time2", "12"}});
    Form1& form = sim.form();
    EXPECT_EQ(form.colorIndex, 13);
    const Color colour = form.Label1.ForeColor;
    form.Label1_MouseDown(buttonLeft, 0, 0, 0);
    form.Label1_MouseDown(buttonLeft, 0, 0, 0);
    EXPECT_EQ(form.Label1.ForeColor, colour);
    EXPECT_EQ(sim.platform().stored("time2"), "14");

    form.colorIndex = 32767;  // the largest index wraps instead of overflowing
    form.Label1_MouseDown(buttonLeft, 0, 0, 0);
    EXPECT_EQ(sim.platform().stored("time2"), "32767");
    EXPECT_EQ(form.colorIndex, 0);
    form.skinIndex = 32767;
    form.Label1_MouseDown(buttonRight, 0, 0, 0);
    EXPECT_EQ(form.skinIndex, 0);
}

}  // namespace
}  // namespace horatta::testing
