#include "linux/text_box_widget.h"

#include <gtest/gtest.h>

#include "linux/tests/application.h"
#include "support/simulator.h"

namespace horatta::shell {
namespace {

struct Sink : EventSink {
    testing::Simulator clock{Build::Masked};
    Form1& form() override { return clock.form(); }
    void deliver(const std::function<void()>& event) override { event(); }
    void userFocus(ControlId) override {}
    void pointerEvent(const QWidget&, const QMouseEvent&) override {}
    ControlId controlAt(const QWidget&, const QPoint&) override { return ControlId::Text2; }
};

// The model counts characters, the field UTF-16 units: a selection set in one lands on the
// same characters in the other, and a memo of any length goes through whole.
TEST(TextBoxWidget, TheSelectionAndTheTextGoThroughTheFieldWhole) {
    application();
    std::string repeated;
    for (int i = 0; i < 22000; ++i) repeated += "备忘";  // 44,000 characters in three bytes each
    const std::string emoji = "\xF0\x9F\x98\x80";        // two UTF-16 units
    const struct {
        std::string memo;
        int selStart, selLength;
        std::string typed;
        int caret;
    } cases[] = {
        {std::string(40000, 'm'), 40000, 0, std::string(40000, 'm') + "!", 40001},
        {repeated, 44000, 0, repeated + "!", 44001},
        {"a" + emoji + "b" + emoji + "c", 2, 2, "a" + emoji + "!c", 3},
        {emoji + emoji, 9, 5, emoji + emoji + "!", 3},  // beyond the end: clamped
    };
    for (const auto& c : cases) {
        Sink sink;
        TextBoxWidget field(ControlId::Text2, sink, nullptr);
        TextBox& memo = sink.form().Text2;
        memo.Text = c.memo, memo.SelStart = c.selStart, memo.SelLength = c.selLength;
        field.showModel();
        field.insert("!");
        EXPECT_EQ(memo.Text, c.typed);
        EXPECT_EQ(memo.SelStart, c.caret);
        EXPECT_EQ(memo.SelLength, 0);
    }
}

}  // namespace
}  // namespace horatta::shell
