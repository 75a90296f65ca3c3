#include <gtest/gtest.h>

#include "support/started_clock.h"

namespace horatta::testing {
namespace {

// Any key released in the hot-key window powers off at once, armed or not, and tries again
// on the next release if the system did not go down.
TEST(HotKeyWindow, AnyKeyReleasedPowersOffWhetherOrNotAPowerOffIsArmed) {
    struct Row {
        const char* armedTime;
        std::int16_t keyCode;
        std::int16_t shift;
    };
    const std::vector<Row> rows{
        {"00:00:00", 'Z', 6},  // releasing the Z of Ctrl+Alt+Z
        {"00:00:00", 17, 2},   // releasing Ctrl
        {"21:30:00", 'A', 0},
        {"21:30:00", 27, 0},
    };
    for (Build build : {Build::Masked, Build::Plain}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(buildName(build)) + ", armed " + row.armedTime + ", key " +
                         std::to_string(row.keyCode));
            StartedClock clock(build);
            clock.platform.store("time", row.armedTime);
            clock.restart();
            ASSERT_EQ(clock.f().shutdownTime.hms(), row.armedTime);
            clock.platform.calls.clear();

            clock.f().form2()->Form_KeyUp(row.keyCode, row.shift);
            EXPECT_EQ(clock.platform.calls,
                      (std::vector<std::string>{"enableShutdownPrivilege", "exitWindows 13 0"}));
            clock.f().form2()->Form_KeyUp(row.keyCode, row.shift);
            EXPECT_EQ(clock.platform.powerOffCount, 2);
        }
    }
}

}  // namespace
}  // namespace horatta::testing
