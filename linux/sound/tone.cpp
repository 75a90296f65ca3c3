#include "linux/sound/tone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace horatta::sound {

namespace {

// Loud enough to be heard over a room, well below full scale so no mixer clips it.
constexpr double amplitude = 0.45 * 32767.0;
// Long enough to take the click out of the edges, short enough not to blur the beep.
constexpr double fadeMs = 4.0;

}  // namespace

std::vector<std::int16_t> toneSamples(int hz, int ms, int sampleRate) {
    if (ms <= 0 || sampleRate <= 0) return {};
    const auto count = static_cast<std::size_t>(std::llround(double(ms) * sampleRate / 1000.0));
    std::vector<std::int16_t> samples(count, 0);
    if (hz <= 0 || 2LL * hz >= sampleRate) return samples;

    // A very short tone gets shorter fades, so that it still reaches its full loudness.
    const double fade = std::min(fadeMs * sampleRate / 1000.0, double(count) / 4.0);
    for (std::size_t n = 0; n < count; ++n) {
        double gain = 1.0;
        const double fromEdge = double(std::min(n, count - 1 - n));
        if (fromEdge < fade) gain = 0.5 - 0.5 * std::cos(std::numbers::pi * fromEdge / fade);
        // The phase is taken modulo one period so that long tones keep their precision.
        const double phase =
            2.0 * std::numbers::pi * std::fmod(double(n) * hz, double(sampleRate)) / sampleRate;
        samples[n] = static_cast<std::int16_t>(std::lround(amplitude * gain * std::sin(phase)));
    }
    return samples;
}

}  // namespace horatta::sound
