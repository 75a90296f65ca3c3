#include <gtest/gtest.h>

#include "support/started_clock.h"

namespace horatta::testing {
namespace {

// Any key released in the hot-key window powers off at once, armed or not, and tries again
// on the next release if the system did not go down.
TEST(HotKeyWindow, AnyKeyReleasedPowersOffWhetherOrNotAPowerOffIsArmed) {
    for (Build build : {Build::Masked, Build::Plain}) {
        for (const char* armed : {"00:00:00", "21:30:00"}) {
            SCOPED_TRACE(std::string(buildName(build)) + ", armed " + armed);
            StartedClock clock(build);
            clock.platform.store("time", armed);
            clock.restart();
            ASSERT_EQ(clock.f().shutdownTime.hms(), armed);
            clock.platform.calls.clear();

            clock.f().form2()->Form_KeyUp('Z', 6);  // releasing the Z of Ctrl+Alt+Z
            EXPECT_EQ(clock.platform.calls, (std::vector<std::string>{"enableShutdownPrivilege", "exitWindows 13 0"}));
            clock.f().form2()->Form_KeyUp(17, 2);  // then Ctrl
            EXPECT_EQ(clock.platform.powerOffCount, 2);
        }
    }
}

}  // namespace
}  // namespace horatta::testing
