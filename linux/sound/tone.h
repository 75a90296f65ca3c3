#pragma once

#include <cstdint>
#include <vector>

namespace horatta::sound {

inline constexpr int defaultSampleRate = 48000;

// A sine tone of the given frequency and length as signed 16-bit mono samples at the given
// rate. Its first and last few milliseconds fade in and out along a raised cosine, so the
// speaker does not click where the tone starts and stops. A frequency that the rate cannot
// carry (zero, negative, or at or above half the rate) gives silence of the same length:
// the caller still waits as long as the tone would have lasted.
std::vector<std::int16_t> toneSamples(int hz, int ms, int sampleRate = defaultSampleRate);

}  // namespace horatta::sound
