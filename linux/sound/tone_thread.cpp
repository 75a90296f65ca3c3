#include "linux/sound/tone_thread.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace horatta::sound {

// Shared with the playing thread, which may outlive the ToneThread when its device stalls.
struct ToneThread::Shared {
    explicit Shared(std::shared_ptr<PcmOutput> o) : output(std::move(o)) {}
    std::shared_ptr<PcmOutput> output;
    std::mutex mutex;
    std::condition_variable ended;
    bool playing = false;
    bool played = false;
};

ToneThread::ToneThread(std::shared_ptr<PcmOutput> output) : shared_(std::make_shared<Shared>(std::move(output))) {}

ToneThread::~ToneThread() = default;

bool ToneThread::play(const std::vector<std::int16_t>& samples, int sampleRate) {
    // Room for the output to give up at its own deadline before this one passes.
    constexpr std::chrono::milliseconds grace{50};
    const auto deadline = std::chrono::steady_clock::now() + toneLength(samples, sampleRate) + toneMargin + grace;
    std::unique_lock lock(shared_->mutex);
    if (shared_->playing) return false;
    shared_->playing = true;
    std::thread([shared = shared_, samples, sampleRate] {
        const bool played = shared->output->play(samples, sampleRate);
        const std::lock_guard ending(shared->mutex);
        shared->playing = false;
        shared->played = played;
        shared->ended.notify_all();
    }).detach();
    if (!shared_->ended.wait_until(lock, deadline, [&] { return !shared_->playing; })) return false;
    return shared_->played;
}

}  // namespace horatta::sound
