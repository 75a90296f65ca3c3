#pragma once

#include <memory>

#include "linux/sound/beeper.h"

namespace horatta::sound {

// Plays through another output on a thread of its own and waits for it no longer than the
// tone's length and the margin. A device can stall where no time limit reaches (a sound
// file that is a FIFO nobody reads stops the very open); the clock's thread then goes on,
// and until the stalled tone ends, the next tones are not played (the beeper still waits
// out their length) rather than queued behind it.
class ToneThread : public PcmOutput {
public:
    explicit ToneThread(std::shared_ptr<PcmOutput> output);
    ~ToneThread() override;
    ToneThread(const ToneThread&) = delete;
    ToneThread& operator=(const ToneThread&) = delete;

    // False when the tone did not sound in time, or a stalled one still holds the device.
    bool play(const std::vector<std::int16_t>& samples, int sampleRate) override;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace horatta::sound
