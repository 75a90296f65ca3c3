#include <gtest/gtest.h>

#include <functional>

#include "support/simulator.h"

namespace horatta::testing {
namespace {

const std::vector<std::string> exitValues{"t9", "t", "ta", "tb"};

std::string buildName(const ::testing::TestParamInfo<Build>& info) {
    return info.param == Build::Masked ? "horatta" : "horatta_t";
}

class MovingLeaving : public ::testing::TestWithParam<Build> {};

struct ExitCase {
    const char* name;
    Simulator::Settings stored;
    std::function<void(Simulator&)> setUp;
    const char* t9;
    const char* t;
};

TEST_P(MovingLeaving, ADoubleClickInTheRunningClockSavesFourValuesInOrderAndEnds) {
    const std::vector<ExitCase> cases{
        {"normal clock", {}, [](Simulator&) {}, "0", "1"},
        {"normal clock, a new second not yet shown",
         {},
         [](Simulator& sim) { sim.platform().advanceMs(990); },
         "0",
         "2"},
        {"scroll mode with the memo", {{"t9", "1"}, {"t", "2"}, {"text", "Buy milk"}}, [](Simulator&) {}, "1", "2"},
        {"scroll mode with the time", {{"t9", "1"}, {"t", "1"}, {"text", "Buy milk"}}, [](Simulator&) {}, "1", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Simulator sim(GetParam(), at(2026, 12, 6, 9, 15, 0, 0), c.stored);
        sim.runFor(1000 + 20);  // the face shows 09:15:01
        c.setUp(sim);
        sim.platform().memory.writtenNames.clear();

        sim.form().Label3_DblClick();

        EXPECT_EQ(sim.platform().memory.writtenNames, exitValues);
        EXPECT_EQ(sim.platform().stored("t9"), c.t9);
        EXPECT_EQ(sim.platform().stored("t"), c.t);
        EXPECT_EQ(sim.platform().stored("ta"), "600");
        EXPECT_EQ(sim.platform().stored("tb"), "13605");
        EXPECT_EQ(sim.platform().endProgramCount, 1);
        EXPECT_EQ(sim.platform().calls.back(), "endProgram");
    }
}

TEST_P(MovingLeaving, TheNextStartComesBackWhereTheWindowWasLeft) {
    struct Case {
        WindowPosition moved;
        const char* left;
        const char* top;
    };
    const Case cases[]{
        {{4200, 900}, "4200", "900"},
        {{4200.5f, 900.25f}, "4200.5", "900.25"},
        {{-15000, 0}, "-15000", "0"},  // on a screen left of the primary one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.left);
        Simulator sim(GetParam(), at(2026, 12, 6, 9, 15, 0, 0));
        sim.platform().screenRects = {{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}};
        sim.platform().dragTo = c.moved;
        sim.form().Label3_MouseDown(buttonLeft, 0, 10, 10);
        EXPECT_EQ(sim.form().Left, c.moved.left);
        EXPECT_EQ(sim.form().Top, c.moved.top);

        sim.form().Label3_DblClick();
        EXPECT_EQ(sim.platform().stored("tb"), c.left);
        EXPECT_EQ(sim.platform().stored("ta"), c.top);

        sim.restart();
        EXPECT_EQ(sim.form().Left, c.moved.left);
        EXPECT_EQ(sim.form().Top, c.moved.top);
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, MovingLeaving, ::testing::Values(Build::Masked, Build::Plain), buildName);

}  // namespace
}  // namespace horatta::testing
