#include <algorithm>

#include "platform/event_delivery.h"
#include "support/simulator.h"
#include "window/tab_order.h"

namespace horatta::testing {
namespace {

using Kind = EventDelivery::Kind;

// The input rules both shells follow: what the clock meets while a handler is still running,
// and where the Tab key goes.

// A handler `A` runs and, while it runs, more comes in. The log shows each handler as its
// name (with what ran inside it in brackets) and each redraw after it: "|" once no handler
// runs any more, "." inside one.
TEST(EventDelivery, InputWaitsForTheRunningHandlerTicksDoNotAndScreensCountOnce) {
    struct Row { const char* what; std::vector<std::pair<Kind, char>> during; std::string expected; bool stop = false; };
    const Row rows[]{
        {"nothing comes in", {}, "A()|"},
        {"two presses wait, in order", {{Kind::Input, 'B'}, {Kind::Input, 'C'}}, "A()|B()|C()|"},
        {"a tick runs at once", {{Kind::Tick, 'T'}}, "A(T().)|"},
        {"a tick passes a waiting press", {{Kind::Input, 'B'}, {Kind::Tick, 'T'}}, "A(T().)|B()|"},
        {"the screens count once, with their last state, before waiting input",
         {{Kind::Screens, 'S'}, {Kind::Input, 'B'}, {Kind::Screens, 'R'}}, "A()|R()|B()|"},
        {"a waiting press that brings more input lets it wait in turn", {{Kind::Input, 'D'}}, "A()|D()|B()|"},
        {"the program ends inside the handler: nothing after it", {{Kind::Input, 'B'}, {Kind::Tick, 'T'}}, "A(T().)", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::string log;
        EventDelivery delivery([&](Kind, bool outermost) { log += outermost ? "|" : "."; });
        std::function<void(char)> handler = [&](char name) {
            log += std::string(1, name) + "(";
            if (name == 'A') {
                for (const auto& [kind, inner] : row.during) delivery.deliver(kind, [&, inner] { handler(inner); });
                if (row.stop) delivery.stop();
            }
            if (name == 'D') delivery.deliver(Kind::Input, [&] { handler('B'); });
            log += ")";
        };
        delivery.deliver(Kind::Input, [&] { handler('A'); });
        EXPECT_EQ(log, row.expected);
        EXPECT_FALSE(delivery.running());
    }
}

// Tab goes round every shown control with a tab index once and comes back; Shift+Tab goes
// the same round backwards; a hidden control is never a stop, and Tab from it goes on.
TEST(TabOrder, TabGoesRoundTheShownControlsAndShiftTabGoesBack) {
    for (Build build : bothBuilds) for (bool fieldsShown : {false, true}) {
        SCOPED_TRACE(std::string(buildName(build)) + (fieldsShown ? " with the time fields shown" : ""));
        Simulator sim(build);
        Form1& f = sim.form();
        f.Text1.Visible = true, f.Text2.Visible = false;
        f.shutdownField().Visible = f.reminderField().Visible = fieldsShown;
        std::vector<ControlId> stops;
        for (ControlId id : tabOrder(f))
            if (f.control(id).Visible) stops.push_back(id);
        ASSERT_GE(stops.size(), 2u);
        for (std::size_t i = 1; i < stops.size(); ++i)
            EXPECT_LT(f.control(stops[i - 1]).TabIndex, f.control(stops[i]).TabIndex);
        for (std::size_t i = 0; i < stops.size(); ++i) {
            const ControlId next = stops[(i + 1) % stops.size()];
            EXPECT_EQ(nextInTabOrder(f, stops[i], false), next);
            EXPECT_EQ(nextInTabOrder(f, next, true), stops[i]);
        }
        // From the hidden memo panel's field, Tab goes on to the shown control after its index.
        const int hidden = f.Text2.TabIndex;
        const auto after = nextInTabOrder(f, ControlId::Text2, false);
        ASSERT_TRUE(after);
        EXPECT_TRUE(f.control(*after).TabIndex > hidden || *after == stops.front());
        const bool plainSkips = build == Build::Plain;
        EXPECT_EQ(std::count(stops.begin(), stops.end(), f.shutdownFieldId()), fieldsShown && !plainSkips ? 1 : 0);
    }
    Simulator sim(Build::Masked);
    Form1& f = sim.form();
    f.Text1.Visible = f.Text2.Visible = f.Picture1.Visible = f.Picture2.Visible = false;
    f.shutdownField().Visible = f.reminderField().Visible = false;
    EXPECT_EQ(nextInTabOrder(f, ControlId::Picture1, false), std::nullopt) << "nothing shown, no stop";
}

}  // namespace
}  // namespace horatta::testing
