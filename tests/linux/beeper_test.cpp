#include "linux/sound/beeper.h"

#include <gtest/gtest.h>

#include "tone_analysis.h"

namespace horatta::sound {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class VirtualClock : public SteadyClock {
public:
    Clock::time_point time{};
    std::vector<Clock::time_point> sleptUntil;
    Clock::time_point now() override { return time; }
    void sleepUntil(Clock::time_point when) override {
        sleptUntil.push_back(when);
        if (when > time) time = when;
    }
};

// An output that takes the given time to play on the virtual clock.
class VirtualOutput : public PcmOutput {
public:
    explicit VirtualOutput(VirtualClock& clock) : clock_(clock) {}
    bool works = true;
    std::chrono::milliseconds takes{0};
    std::vector<std::vector<std::int16_t>> played;
    bool play(const std::vector<std::int16_t>& samples, int) override {
        clock_.time += takes;
        played.push_back(samples);
        return works;
    }

private:
    VirtualClock& clock_;
};

struct Case {
    const char* output;
    bool works;
    std::chrono::milliseconds takes;
    std::chrono::milliseconds lasts;  // how long the beep holds its caller
};

TEST(Beeper, HoldsTheCallerForTheToneWhateverTheOutputDoes) {
    for (const Case c : {
             Case{"plays in real time", true, 300ms, 300ms},
             Case{"plays with latency", true, 380ms, 380ms},
             Case{"has no device", false, 0ms, 300ms},
             Case{"fails half-way", false, 120ms, 300ms},
             Case{"plays faster than real time", true, 5ms, 300ms},
         }) {
        SCOPED_TRACE(c.output);
        VirtualClock clock;
        clock.time = Clock::time_point(1h);
        VirtualOutput output(clock);
        output.works = c.works;
        output.takes = c.takes;
        Beeper beeper(output, clock, 48000);

        const auto start = clock.time;
        beeper.beep(1342, 300);
        EXPECT_EQ(clock.time - start, c.lasts);
        ASSERT_EQ(output.played.size(), 1u);
        const auto tone = testing::analyse(output.played[0], 48000);
        EXPECT_NEAR(tone.hz, 1342, 13.42);
        EXPECT_NEAR(tone.lengthMs, 300, 5);
    }
}

TEST(Beeper, APairFollowsEachOther) {
    VirtualClock clock;
    VirtualOutput output(clock);
    output.works = false;
    Beeper beeper(output, clock, 48000);
    const auto start = clock.time;
    beeper.beep(3100, 200);
    beeper.beep(3110, 200);
    EXPECT_EQ(clock.time - start, 400ms);
    EXPECT_EQ(clock.sleptUntil, (std::vector{start + 200ms, start + 400ms}));
}

TEST(Beeper, NoLengthNoBeep) {
    VirtualClock clock;
    VirtualOutput output(clock);
    Beeper beeper(output, clock);
    beeper.beep(1342, 0);
    beeper.beep(1342, -10);
    EXPECT_TRUE(output.played.empty());
    EXPECT_TRUE(clock.sleptUntil.empty());
}

}  // namespace
}  // namespace horatta::sound
