#include "linux/sound/beeper.h"

#include <thread>

namespace horatta::sound {

std::chrono::microseconds toneLength(const std::vector<std::int16_t>& samples, int sampleRate) {
    if (sampleRate <= 0) return {};
    return std::chrono::microseconds(static_cast<long long>(samples.size()) * 1000000LL / sampleRate);
}

std::chrono::steady_clock::time_point RealSteadyClock::now() { return std::chrono::steady_clock::now(); }

void RealSteadyClock::sleepUntil(std::chrono::steady_clock::time_point when) {
    std::this_thread::sleep_until(when);
}

void Beeper::beep(int hz, int ms) {
    if (ms <= 0) return;
    const auto start = clock_.now();
    output_.play(toneSamples(hz, ms, sampleRate_), sampleRate_);
    const auto end = start + std::chrono::milliseconds(ms);
    if (clock_.now() < end) clock_.sleepUntil(end);
}

}  // namespace horatta::sound
