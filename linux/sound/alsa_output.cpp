#include "linux/sound/alsa_output.h"

#include <alsa/asoundlib.h>

#include <memory>
#include <utility>

namespace horatta::sound {

namespace {

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// How far ahead of the speaker ALSA may buffer; small enough that a drained tone has
// really ended, large enough to ride out a busy desktop.
constexpr unsigned latencyMicroseconds = 100000;

struct PcmCloser {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};

}  // namespace

AlsaOutput::AlsaOutput(std::string device) : device_(std::move(device)) {
    snd_lib_error_set_handler(ignoreAlsaError);
}

bool AlsaOutput::play(const std::vector<std::int16_t>& samples, int sampleRate) {
    if (samples.empty() || sampleRate <= 0) return false;

    // Opened without blocking, so a device held by another program fails at once instead
    // of stalling the clock; writing then blocks, which is what paces the tone.
    snd_pcm_t* raw = nullptr;
    if (snd_pcm_open(&raw, device_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return false;
    std::unique_ptr<snd_pcm_t, PcmCloser> pcm(raw);
    if (snd_pcm_nonblock(pcm.get(), 0) < 0) return false;
    if (snd_pcm_set_params(pcm.get(), SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                           static_cast<unsigned>(sampleRate), 1, latencyMicroseconds) < 0) {
        return false;
    }

    const std::int16_t* next = samples.data();
    auto left = static_cast<snd_pcm_uframes_t>(samples.size());
    while (left > 0) {
        snd_pcm_sframes_t written = snd_pcm_writei(pcm.get(), next, left);
        if (written < 0) written = snd_pcm_recover(pcm.get(), static_cast<int>(written), 1);
        if (written < 0) return false;
        next += written;
        left -= static_cast<snd_pcm_uframes_t>(written);
    }
    return snd_pcm_drain(pcm.get()) >= 0;
}

}  // namespace horatta::sound
