#pragma once

#include <string>

#include "linux/sound/beeper.h"

namespace horatta::sound {

// Plays through an ALSA PCM, by default the user's "default" device, which PipeWire and
// PulseAudio also serve through their ALSA plugins. The device is opened for each tone and
// closed once the tone has drained, so the clock never holds a sound card between beeps.
// A device that stops taking samples, or never plays them out, is dropped once the tone's
// length and the margin have passed. ALSA's own error messages are silenced: a clock
// without sound is still a clock.
class AlsaOutput : public PcmOutput {
public:
    explicit AlsaOutput(std::string device = "default");
    bool play(const std::vector<std::int16_t>& samples, int sampleRate) override;

private:
    std::string device_;
};

}  // namespace horatta::sound
