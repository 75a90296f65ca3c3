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

TEST(TextBoxWidget, AMemoOfAnyLengthGoesThroughTheFieldWhole) {
    application();
    std::string repeated;
    for (int i = 0; i < 11000; ++i) repeated += "备忘";  // 22,000 characters in three bytes each
    for (const std::string& memo : {std::string(40000, 'm'), repeated + repeated}) {
        Sink sink;
        TextBoxWidget field(ControlId::Text2, sink, nullptr);
        sink.form().Text2.Text = memo;
        field.showModel();
        field.end(false);
        field.insert("!");
        EXPECT_EQ(sink.form().Text2.Text, memo + "!");
    }
}

}  // namespace
}  // namespace horatta::shell
