// Tones as samples, the beeper's hold on its caller, and the real ALSA library playing into the
// test's own devices (a file, FIFOs that stall, none at all), never the machine's.
#include "linux/sound/alsa_output.h"
#include "linux/sound/beeper.h"
#include "linux/sound/tone.h"
#include "linux/sound/tone_thread.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace horatta::sound {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// What can be heard in 16-bit samples; sounding: between the first and last above a tenth of the peak.
struct Heard { double lengthMs = 0, soundingMs = 0, hz = 0; int peak = 0; };
Heard analyse(const std::vector<std::int16_t>& samples, int rate) {
    Heard h{1000.0 * double(samples.size()) / rate};
    for (std::int16_t s : samples) h.peak = std::max(h.peak, std::abs(int(s)));
    const auto loud = [&](std::int16_t s) { return std::abs(int(s)) > h.peak / 10; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud), end = std::find_if(samples.rbegin(), samples.rend(), loud).base();
    if (h.peak) h.soundingMs = 1000.0 * double(end - first) / rate;
    std::vector<double> rising;  // zero crossings, interpolated
    for (std::size_t n = 1; n < samples.size(); ++n)
        if (samples[n - 1] < 0 && samples[n] >= 0) rising.push_back(double(n - 1) - samples[n - 1] / double(samples[n] - samples[n - 1]));
    if (rising.size() >= 2) h.hz = double(rising.size() - 1) * rate / (rising.back() - rising.front());
    return h;
}

TEST(Tone, SoundsTheFrequencyForTheLengthOrIsSilence) {
    const struct { int hz, ms, rate; bool sounds; } cases[] = {
        {1342, 300, 48000, true}, {3100, 200, 44100, true}, {3110, 200, 8000, true}, {440, 10000, 48000, true},
        {1000, 20, 48000, true}, {0, 100, 48000, false}, {-50, 100, 48000, false}, {24000, 100, 48000, false},
        {1342, 0, 48000, false}, {1342, -5, 48000, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.hz << " Hz, " << c.ms << " ms at " << c.rate);
        const auto samples = toneSamples(c.hz, c.ms, c.rate);
        const Heard tone = analyse(samples, c.rate);
        EXPECT_EQ(samples.size(), std::size_t(std::max(c.ms, 0)) * c.rate / 1000);
        EXPECT_EQ(tone.peak == 0, !c.sounds);
        if (!c.sounds) continue;
        EXPECT_NEAR(tone.hz, c.hz, c.hz * (c.ms < 100 ? 0.01 : 0.002));  // the alert's pair is 10 Hz apart
        EXPECT_NEAR(tone.soundingMs, c.ms, 5.0) << "the fades soften the edges without eating into the tone";
        EXPECT_TRUE(tone.peak > 32767 / 4 && tone.peak < 32767 * 9 / 10) << tone.peak;
        EXPECT_LT(std::abs(samples.front()) + std::abs(samples.back()), tone.peak / 20) << "a click";
    }
}

// Time moves only when something sleeps or plays.
struct VirtualClock : SteadyClock {
    std::chrono::steady_clock::time_point time{1h};
    std::chrono::steady_clock::time_point now() override { return time; }
    void sleepUntil(std::chrono::steady_clock::time_point when) override { time = std::max(time, when); }
};
struct VirtualOutput : PcmOutput {
    VirtualOutput(VirtualClock& c, bool w, std::chrono::milliseconds t) : clock(c), works(w), takes(t) {}
    VirtualClock& clock; bool works; std::chrono::milliseconds takes; int played = 0;  // whole tones
    bool play(const std::vector<std::int16_t>& samples, int) override {
        clock.time += takes;
        played += samples.size() == 300 * 48;
        return works;
    }
};

TEST(Beeper, HoldsTheCallerForTheToneWhateverTheOutputDoes) {
    const struct { const char* output; bool works; std::chrono::milliseconds takes, holds; } cases[] = {
        {"plays in real time", true, 300ms, 300ms}, {"plays with latency", true, 380ms, 380ms},
        {"has no device", false, 0ms, 300ms}, {"fails half-way", false, 120ms, 300ms},
        {"plays faster than real time", true, 5ms, 300ms}};
    for (const auto& c : cases) {
        VirtualClock clock;
        VirtualOutput output{clock, c.works, c.takes};
        Beeper(output, clock, 48000).beep(1342, 300);
        EXPECT_TRUE(clock.time - VirtualClock().time == c.holds && output.played == 1) << c.output;
    }
}

// Set up before main, as ALSA reads its configuration once, when it first loads it.
struct AlsaConfiguration {
    fs::path dir = fs::temp_directory_path() / ("horatta-alsa-" + std::to_string(::getpid()));
    fs::path capture = dir / "played.raw", unopened = dir / "unopened.fifo", unread = dir / "unread.fifo";
    AlsaConfiguration() {
        fs::create_directories(dir);
        std::ofstream conf(dir / "asound.conf");
        for (const auto& [name, file] : {std::pair{"capture", capture}, {"unopened", unopened}, {"unread", unread}}) {
            if (file != capture) ::mkfifo(file.c_str(), 0600);
            conf << "pcm.horatta_" << name << " { type file slave.pcm { type null } file \"" << file.string() << "\" format \"raw\" }\n";
        }
        ::setenv("ALSA_CONFIG_PATH", (dir / "asound.conf").c_str(), 1);
    }
    ~AlsaConfiguration() { fs::remove_all(dir); }
} alsa;

// Each device twice through the tone thread: the second tone finds a stalled first one still there.
TEST(ToneThread, TheWholeToneReachesTheDeviceAndOneThatFailsOrStallsHoldsTheCallerNoLongerThanTheTone) {
    // Opened for reading but never read, with the smallest pipe there is: it fills at once.
    const int reader = ::open(alsa.unread.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);  // kept to the end
    ASSERT_GE(::fcntl(reader, F_SETPIPE_SZ, 4096), 0);
    const std::pair<const char*, std::chrono::milliseconds> cases[] = {
        {"horatta_capture", 300ms + toneMargin + 150ms}, {"horatta_no_such_device", 100ms},
        {"horatta_unopened", 300ms + toneMargin + 150ms}, {"horatta_unread", 300ms + toneMargin + 150ms}};
    for (const auto& [device, within] : cases) {
        ToneThread output(std::make_shared<AlsaOutput>(device));
        for (int tone = 0; tone < 2; ++tone) {
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(output.play(toneSamples(1342, 300, 48000), 48000), device == std::string("horatta_capture")) << device;
            EXPECT_LT(std::chrono::steady_clock::now() - start, within) << device;
        }
    }
    std::vector<std::int16_t> samples(fs::file_size(alsa.capture) / 2);
    std::ifstream(alsa.capture, std::ios::binary).read(reinterpret_cast<char*>(samples.data()), samples.size() * 2);
    const Heard tone = analyse(samples, 48000);
    EXPECT_NEAR(tone.hz, 1342, 13.42);
    EXPECT_NEAR(tone.lengthMs, 300, 5.0) << "the last tone whole";
}

}  // namespace
}  // namespace horatta::sound
