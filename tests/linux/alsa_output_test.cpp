// Plays through the real ALSA library into devices described by a configuration of the
// test's own: a file device that keeps what was played, and a device that does not exist.
// The machine's own sound devices are never used.
#include "linux/sound/alsa_output.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "tone_analysis.h"

namespace horatta::sound {
namespace {

namespace fs = std::filesystem;

// Set up before main, as ALSA reads its configuration once, when it first loads it.
struct AlsaConfiguration {
    fs::path dir = fs::temp_directory_path() / ("horatta-alsa-" + std::to_string(::getpid()));
    fs::path capture = dir / "played.raw";
    AlsaConfiguration() {
        fs::create_directories(dir);
        std::ofstream(dir / "asound.conf") << "pcm.horatta_capture {\n"
                                              "  type file\n"
                                              "  slave.pcm { type null }\n"
                                              "  file \"" << capture.string() << "\"\n"
                                              "  format \"raw\"\n"
                                              "}\n";
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

}  // namespace
}  // namespace horatta::sound
