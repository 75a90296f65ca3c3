#include "linux/sound/beeper.h"

#include <gtest/gtest.h>

#include "tone_analysis.h"

namespace horatta::sound {
namespace {

using namespace std::chrono_literals;

// Time moves only when something sleeps or plays.
struct VirtualClock : SteadyClock {
    std::chrono::steady_clock::time_point time{1h};
    std::chrono::steady_clock::time_point now() override { return time; }
    void sleepUntil(std::chrono::steady_clock::time_point when) override { time = std::max(time, when); }
};

// An output that takes a set time to play, or fails after it.
struct VirtualOutput : PcmOutput {
    VirtualOutput(VirtualClock& c, bool w, std::chrono::milliseconds t) : clock(c), works(w), takes(t) {}
    VirtualClock& clock;
    bool works;
    std::chrono::milliseconds takes;
    std::vector<std::vector<std::int16_t>> played;
    bool play(const std::vector<std::int16_t>& samples, int) override {
        clock.time += takes;
        played.push_back(samples);
        return works;
    }
};

TEST(Beeper, HoldsTheCallerForTheToneWhateverTheOutputDoes) {
    struct Case {
        const char* output;
        bool works;
        std::chrono::milliseconds takes, lasts;  // lasts: how long the beep holds its caller
    };
    for (const Case c : {
             Case{"plays in real time", true, 300ms, 300ms},
             Case{"plays with latency", true, 380ms, 380ms},
             Case{"has no device", false, 0ms, 300ms},
             Case{"fails half-way", false, 120ms, 300ms},
             Case{"plays faster than real time", true, 5ms, 300ms},
         }) {
        SCOPED_TRACE(c.output);
        VirtualClock clock;
        VirtualOutput output{clock, c.works, c.takes};
        const auto start = clock.time;
        Beeper(output, clock, 48000).beep(1342, 300);
        EXPECT_EQ(clock.time - start, c.lasts);
        ASSERT_EQ(output.played.size(), 1u);
        const auto tone = testing::analyse(output.played[0], 48000);
        EXPECT_NEAR(tone.hz, 1342, 13.42);
        EXPECT_NEAR(tone.lengthMs, 300, 5);
    }
}

}  // namespace
}  // namespace horatta::sound
