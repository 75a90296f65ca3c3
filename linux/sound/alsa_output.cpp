#include "linux/sound/alsa_output.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <memory>
#include <thread>
#include <utility>

namespace horatta::sound {

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// How far ahead of the speaker ALSA may buffer; small enough that a drained tone has
// really ended, large enough to ride out a busy desktop.
constexpr unsigned latencyMicroseconds = 100000;

struct PcmCloser {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};

int millisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 1000));
}

}  // namespace

AlsaOutput::AlsaOutput(std::string device) : device_(std::move(device)) {
    snd_lib_error_set_handler(ignoreAlsaError);
}

bool AlsaOutput::play(const std::vector<std::int16_t>& samples, int sampleRate) {
    if (samples.empty() || sampleRate <= 0) return false;
    const auto deadline = Clock::now() + toneLength(samples, sampleRate) + toneMargin;

    // Non-blocking throughout: a device held by another program fails at once, and one that
    // stops taking samples, or never plays out what it took, is given up at the deadline.
    snd_pcm_t* raw = nullptr;
    if (snd_pcm_open(&raw, device_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return false;
    std::unique_ptr<snd_pcm_t, PcmCloser> pcm(raw);
    if (snd_pcm_set_params(pcm.get(), SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                           static_cast<unsigned>(sampleRate), 1, latencyMicroseconds) < 0) {
        return false;
    }
    const auto giveUp = [&] {
        snd_pcm_drop(pcm.get());
        return false;
    };

    const std::int16_t* next = samples.data();
    auto left = static_cast<snd_pcm_uframes_t>(samples.size());
    while (left > 0) {
        snd_pcm_sframes_t written = snd_pcm_writei(pcm.get(), next, left);
        if (written == -EAGAIN) {
            if (Clock::now() >= deadline) return giveUp();
            snd_pcm_wait(pcm.get(), millisecondsUntil(deadline));
            continue;
        }
        if (written < 0) written = snd_pcm_recover(pcm.get(), static_cast<int>(written), 1);
        if (written < 0) return false;
        next += written;
        left -= static_cast<snd_pcm_uframes_t>(written);
    }

    // A tone shorter than the buffer has not started by itself.
    if (snd_pcm_state(pcm.get()) == SND_PCM_STATE_PREPARED) snd_pcm_start(pcm.get());
    // Played out once nothing is left in the device (or it ran dry, which says the same).
    for (;;) {
        snd_pcm_sframes_t delay = 0;
        if (snd_pcm_delay(pcm.get(), &delay) < 0 || delay <= 0) break;
        if (Clock::now() >= deadline) return giveUp();
        const auto pending = std::chrono::microseconds(delay * 1000000LL / sampleRate);
        std::this_thread::sleep_for(std::clamp<std::chrono::microseconds>(pending, 1ms, 10ms));
    }
    snd_pcm_drop(pcm.get());
    return true;
}

}  // namespace horatta::sound
