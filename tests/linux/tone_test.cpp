#include "linux/sound/tone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tone_analysis.h"

namespace horatta::sound {
namespace {

using testing::analyse;

struct ToneCase {
    int hz;
    int ms;
    int sampleRate;
};

class ToneTest : public ::testing::TestWithParam<ToneCase> {};

TEST_P(ToneTest, SoundsTheFrequencyForTheLength) {
    const auto [hz, ms, rate] = GetParam();
    const auto samples = toneSamples(hz, ms, rate);
    const auto tone = analyse(samples, rate);

    EXPECT_NEAR(tone.hz, hz, hz * 0.01);
    EXPECT_NEAR(tone.lengthMs, ms, 5.0);
    // The fades soften the edges without eating into the tone.
    EXPECT_NEAR(tone.soundingMs, ms, 5.0);
    // Loud enough to hear, with room below full scale.
    EXPECT_GT(tone.peak, 32767 / 4);
    EXPECT_LT(tone.peak, 32767 * 9 / 10);
    // No click: the tone starts and ends near silence.
    EXPECT_LT(std::abs(samples.front()), tone.peak / 20);
    EXPECT_LT(std::abs(samples.back()), tone.peak / 20);
}

INSTANTIATE_TEST_SUITE_P(ClockTones, ToneTest,
                         ::testing::Values(ToneCase{1342, 300, 48000}, ToneCase{3100, 200, 48000},
                                           ToneCase{3110, 200, 48000}, ToneCase{1342, 300, 44100},
                                           ToneCase{3100, 200, 44100}, ToneCase{3100, 200, 8000},
                                           ToneCase{440, 10000, 48000}, ToneCase{1000, 20, 48000}),
                         [](const auto& info) {
                             return std::to_string(info.param.hz) + "Hz_" + std::to_string(info.param.ms) + "ms_" +
                                    std::to_string(info.param.sampleRate);
                         });

TEST(Tone, TwoTonesTenHertzApartAreTold) {
    // The alert's pair differs by 10 Hz; each must come out as itself.
    const auto low = analyse(toneSamples(3100, 200, 48000), 48000);
    const auto high = analyse(toneSamples(3110, 200, 48000), 48000);
    EXPECT_NEAR(high.hz - low.hz, 10.0, 2.0);
}

TEST(Tone, WhatCannotSoundIsSilenceOfTheSameLength) {
    struct Case {
        int hz;
        int ms;
        int rate;
        std::size_t count;
    };
    for (const Case c : {Case{0, 100, 48000, 4800}, Case{-50, 100, 48000, 4800}, Case{24000, 100, 48000, 4800},
                         Case{30000, 100, 48000, 4800}, Case{1342, 0, 48000, 0}, Case{1342, -5, 48000, 0}}) {
        SCOPED_TRACE(::testing::Message() << c.hz << " Hz, " << c.ms << " ms");
        const auto samples = toneSamples(c.hz, c.ms, c.rate);
        EXPECT_EQ(samples.size(), c.count);
        EXPECT_EQ(analyse(samples, c.rate).peak, 0);
    }
}

}  // namespace
}  // namespace horatta::sound
