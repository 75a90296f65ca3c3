// Plays through the real ALSA library into devices described by a configuration of the
// test's own: a file device that keeps what was played, and a device that does not exist.
// The machine's own sound devices are never used.
#include "linux/sound/alsa_output.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

#include "linux/sound/beeper.h"
#include "tone_analysis.h"

namespace horatta::sound {
namespace {

namespace fs = std::filesystem;

fs::path scratch() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("horatta-alsa-" + std::to_string(::getpid()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

fs::path capture() { return scratch() / "played.raw"; }

std::vector<std::int16_t> captured() {
    std::ifstream in(capture(), std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

class AlsaEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        const fs::path config = scratch() / "asound.conf";
        std::ofstream(config) << "pcm.horatta_capture {\n"
                                 "  type file\n"
                                 "  slave.pcm { type null }\n"
                                 "  file \"" << capture().string() << "\"\n"
                                 "  format \"raw\"\n"
                                 "}\n";
        // Read by ALSA when it first loads its configuration, which has not happened yet.
        ::setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
    }
    void TearDown() override { fs::remove_all(scratch()); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new AlsaEnvironment);

struct ToneCase {
    int hz;
    int ms;
};

class AlsaPlays : public ::testing::TestWithParam<ToneCase> {};

TEST_P(AlsaPlays, TheWholeToneReachesTheDevice) {
    fs::remove(capture());
    AlsaOutput output("horatta_capture");
    const auto [hz, ms] = GetParam();
    ASSERT_TRUE(output.play(toneSamples(hz, ms, 48000), 48000));

    const auto tone = testing::analyse(captured(), 48000);
    EXPECT_NEAR(tone.hz, hz, hz * 0.01);
    EXPECT_NEAR(tone.lengthMs, ms, 5.0);
}

INSTANTIATE_TEST_SUITE_P(ClockTones, AlsaPlays, ::testing::Values(ToneCase{1342, 300}, ToneCase{3100, 200}),
                         [](const auto& info) {
                             return std::to_string(info.param.hz) + "Hz_" + std::to_string(info.param.ms) + "ms";
                         });

TEST(AlsaOutput, WithoutADeviceTheBeepStillLastsItsLength) {
    AlsaOutput output("horatta_no_such_device");
    EXPECT_FALSE(output.play(toneSamples(1342, 30, 48000), 48000));

    RealSteadyClock clock;
    Beeper beeper(output, clock);
    const auto start = std::chrono::steady_clock::now();
    beeper.beep(1342, 30);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}

}  // namespace
}  // namespace horatta::sound
