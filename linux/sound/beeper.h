#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "linux/sound/tone.h"

namespace horatta::sound {

// How much longer than its length a tone may take to sound before it is given up: room for
// the device's own buffer and a busy desktop, short enough that the clock's tick is not
// noticeably held up.
inline constexpr std::chrono::milliseconds toneMargin{150};

// The length of the samples at the rate.
std::chrono::microseconds toneLength(const std::vector<std::int16_t>& samples, int sampleRate);

// Somewhere a tone can be played: returns once every sample has sounded, or at once when
// the output cannot play (no device, device gone).
class PcmOutput {
public:
    virtual ~PcmOutput() = default;
    virtual bool play(const std::vector<std::int16_t>& samples, int sampleRate) = 0;
};

class SteadyClock {
public:
    virtual ~SteadyClock() = default;
    virtual std::chrono::steady_clock::time_point now() = 0;
    virtual void sleepUntil(std::chrono::steady_clock::time_point when) = 0;
};

class RealSteadyClock : public SteadyClock {
public:
    std::chrono::steady_clock::time_point now() override;
    void sleepUntil(std::chrono::steady_clock::time_point when) override;
};

// Plays a tone and returns only when it has sounded. The clock's ticks rely on a beep
// holding them for its length (the two tones of a pair follow each other), so a machine
// with no sound device, or one that plays faster than real time, still waits out the
// remainder of the tone's duration.
class Beeper {
public:
    Beeper(PcmOutput& output, SteadyClock& clock, int sampleRate = defaultSampleRate)
        : output_(output), clock_(clock), sampleRate_(sampleRate) {}

    void beep(int hz, int ms);

private:
    PcmOutput& output_;
    SteadyClock& clock_;
    int sampleRate_;
};

}  // namespace horatta::sound
