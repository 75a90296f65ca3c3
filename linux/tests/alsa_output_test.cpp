// Plays through the real ALSA library into devices described by a configuration of the
// test's own: a file device that keeps what was played, file devices that stall on a FIFO,
// and a device that does not exist.
// The machine's own sound devices are never used.
#include "linux/sound/alsa_output.h"
#include "linux/sound/tone_thread.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tone_analysis.h"

namespace horatta::sound {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Set up before main, as ALSA reads its configuration once, when it first loads it.
struct AlsaConfiguration {
    fs::path dir = fs::temp_directory_path() / ("horatta-alsa-" + std::to_string(::getpid()));
    fs::path capture = dir / "played.raw";
    fs::path unopened = dir / "unopened.fifo", unread = dir / "unread.fifo";
    AlsaConfiguration() {
        fs::create_directories(dir);
        std::ofstream(dir / "asound.conf") << "pcm.horatta_capture {\n"
                                              "  type file\n"
                                              "  slave.pcm { type null }\n"
                                              "  file \"" << capture.string() << "\"\n"
                                              "  format \"raw\"\n"
                                              "}\n";
        for (const auto& [name, fifo] : {std::pair{"horatta_unopened", unopened}, std::pair{"horatta_unread", unread}}) {
            ::mkfifo(fifo.c_str(), 0600);
            std::ofstream(dir / "asound.conf", std::ios::app)
                << "pcm." << name << " { type file slave.pcm { type null } file \"" << fifo.string()
                << "\" format \"raw\" }\n";
        }
        ::setenv("ALSA_CONFIG_PATH", (dir / "asound.conf").c_str(), 1);
    }
    ~AlsaConfiguration() { fs::remove_all(dir); }
} alsa;

std::vector<std::int16_t> captured() {
    std::vector<std::int16_t> samples(fs::file_size(alsa.capture) / 2);
    std::ifstream(alsa.capture, std::ios::binary).read(reinterpret_cast<char*>(samples.data()), samples.size() * 2);
    return samples;
}

TEST(AlsaOutput, TheWholeToneReachesTheDevice) {
    for (const auto& [hz, ms] : {std::pair{1342, 300}, std::pair{3100, 200}}) {
        SCOPED_TRACE(hz);
        fs::remove(alsa.capture);
        ASSERT_TRUE(AlsaOutput("horatta_capture").play(toneSamples(hz, ms, 48000), 48000));
        const auto tone = testing::analyse(captured(), 48000);
        EXPECT_NEAR(tone.hz, hz, hz * 0.01);
        EXPECT_NEAR(tone.lengthMs, ms, 5.0);
    }
}

TEST(AlsaOutput, AMissingDeviceFailsAtOnce) {
    // The beeper then waits out the tone's length itself.
    EXPECT_FALSE(AlsaOutput("horatta_no_such_device").play(toneSamples(1342, 30, 48000), 48000));
}

TEST(ToneThread, ADeviceThatStallsHoldsTheCallerForNoMoreThanTheToneAndTheMargin) {
    // Opened for reading but never read, with the smallest pipe there is: it fills at once.
    const int reader = ::open(alsa.unread.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);  // kept to the end
    ASSERT_GE(reader, 0);
    ::fcntl(reader, F_SETPIPE_SZ, 4096);
    for (const char* device : {"horatta_unopened", "horatta_unread"}) {
        SCOPED_TRACE(device);
        ToneThread output(std::make_shared<AlsaOutput>(device));
        for (int tone = 0; tone < 2; ++tone) {  // the second finds the first still stalled
            const auto start = std::chrono::steady_clock::now();
            EXPECT_FALSE(output.play(toneSamples(1342, 300, 48000), 48000));
            EXPECT_LT(std::chrono::steady_clock::now() - start, 300ms + toneMargin + 150ms);
        }
    }
}

TEST(ToneThread, ATonePlayedInTimeIsReported) {
    ToneThread output(std::make_shared<AlsaOutput>("horatta_capture"));
    EXPECT_TRUE(output.play(toneSamples(1342, 100, 48000), 48000));
    EXPECT_FALSE(ToneThread(std::make_shared<AlsaOutput>("horatta_no_such_device")).play(toneSamples(1342, 30, 48000), 48000));
}

}  // namespace
}  // namespace horatta::sound
