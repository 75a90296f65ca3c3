#include <gtest/gtest.h>

#include "support/simulator.h"

namespace horatta::testing {
namespace {

// The memo slides open with its text selected for typing over and takes the keyboard; typing
// goes to the text and only Enter or a double-click closes it. Closing gives the keyboard back
// and stores the memo exactly as typed (no padding, nothing cut), and it comes back whole after
// a restart, whatever its characters.
TEST(Memo, OpensSelectedAndClosingStoresItExactlyAcrossARestart) {
    const std::string memo = "  你好，世界 two  spaces", typed = memo + "!";  // 19 characters
    for (bool byEnter : {true, false}) {
        SCOPED_TRACE(byEnter ? "Enter" : "double-click");
        Simulator clock(byEnter ? Build::Masked : Build::Plain, at(2026, 12, 6, 18, 36, 16, 500), {{"text", memo}});
        Form1& f = clock.form();
        f.Picture1_Click();
        EXPECT_EQ((std::array{f.Text2.Top, f.Height, float(f.Text2.SelStart), float(f.Text2.SelLength)}),
                  (std::array{295.0f, 580.0f, 0.0f, 19.0f}));
        EXPECT_EQ(f.focus(), ControlId::Text2);
        for (int key : {int('a'), int('\b'), 27, 10, 0x4F60}) {
            auto passed = static_cast<std::int16_t>(key);
            f.Text2_KeyPress(passed);
            EXPECT_TRUE(passed == key && f.Text2.Visible) << "goes to the text";
        }
        EXPECT_EQ(clock.stored("text"), memo) << "nothing stored while typing";
        f.Text2.Text = typed;  // as the native field reports what was typed
        f.Text2.SelStart = 3;
        std::int16_t enter = keyEnter;
        byEnter ? f.Text2_KeyPress(enter) : f.Text2_DblClick();
        EXPECT_EQ(enter, byEnter ? 0 : keyEnter) << "Enter is swallowed";
        EXPECT_EQ((std::array{f.Text2.Visible, f.Text2.Top == 20, f.Height == 300, f.focus() == ControlId::Text2}),
                  (std::array{false, true, true, false})) << "a hidden memo cannot keep the keyboard";
        EXPECT_EQ(clock.stored("text"), typed);
        clock.restart();
        EXPECT_EQ(clock.form().Text2.Text + "|" + *clock.stored("text"), typed + "|" + typed) << "not rewritten";
    }
}

}  // namespace
}  // namespace horatta::testing
