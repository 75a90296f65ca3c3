#include "linux/sound/tone.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tone_analysis.h"

namespace horatta::sound {
namespace {

using testing::analyse;

TEST(Tone, SoundsTheFrequencyForTheLength) {
    struct Case {
        int hz, ms, rate;
    };
    for (const Case c : {Case{1342, 300, 48000}, Case{3100, 200, 48000}, Case{3100, 200, 44100},
                         Case{3100, 200, 8000}, Case{440, 10000, 48000}, Case{1000, 20, 48000}}) {
        SCOPED_TRACE(::testing::Message() << c.hz << " Hz, " << c.ms << " ms at " << c.rate);
        const auto samples = toneSamples(c.hz, c.ms, c.rate);
        const auto tone = analyse(samples, c.rate);
        EXPECT_NEAR(tone.hz, c.hz, c.hz * 0.01);
        EXPECT_NEAR(tone.lengthMs, c.ms, 5.0);
        // The fades soften the edges without eating into the tone.
        EXPECT_NEAR(tone.soundingMs, c.ms, 5.0);
        // Loud enough to hear, with room below full scale.
        EXPECT_GT(tone.peak, 32767 / 4);
        EXPECT_LT(tone.peak, 32767 * 9 / 10);
        // No click: the tone starts and ends near silence.
        EXPECT_LT(std::abs(samples.front()), tone.peak / 20);
        EXPECT_LT(std::abs(samples.back()), tone.peak / 20);
    }
}

TEST(Tone, TwoTonesTenHertzApartAreTold) {
    // The alert's pair differs by 10 Hz; each must come out as itself.
    const auto low = analyse(toneSamples(3100, 200, 48000), 48000);
    const auto high = analyse(toneSamples(3110, 200, 48000), 48000);
    EXPECT_NEAR(high.hz - low.hz, 10.0, 2.0);
}

TEST(Tone, WhatCannotSoundIsSilenceOfTheSameLength) {
    const std::pair<int, int> cases[] = {{0, 100}, {-50, 100}, {24000, 100}, {30000, 100}, {1342, 0}, {1342, -5}};
    for (const auto& [hz, ms] : cases) {
        SCOPED_TRACE(::testing::Message() << hz << " Hz, " << ms << " ms");
        const auto samples = toneSamples(hz, ms, 48000);
        EXPECT_EQ(samples.size(), std::size_t(std::max(ms, 0) * 48));
        EXPECT_EQ(analyse(samples, 48000).peak, 0);
    }
}

}  // namespace
}  // namespace horatta::sound
