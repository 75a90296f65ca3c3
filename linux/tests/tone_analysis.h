#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace horatta::testing {

// What can be heard in a run of 16-bit samples.
struct ToneAnalysis {
    double lengthMs = 0;    // all samples
    double soundingMs = 0;  // from the first to the last sample above a tenth of the peak
    double hz = 0;          // from the rising zero crossings, 0 when there are fewer than two
    int peak = 0;
};

inline ToneAnalysis analyse(const std::vector<std::int16_t>& samples, int sampleRate) {
    ToneAnalysis result;
    result.lengthMs = 1000.0 * double(samples.size()) / sampleRate;
    for (std::int16_t s : samples) result.peak = std::max(result.peak, std::abs(int(s)));
    if (result.peak == 0) return result;

    const auto loud = [&](std::int16_t s) { return std::abs(int(s)) > result.peak / 10; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud);
    result.soundingMs = 1000.0 * double(std::distance(first, last.base())) / sampleRate;

    // Rising crossings, placed between samples by linear interpolation.
    double firstCrossing = -1, lastCrossing = -1;
    int crossings = 0;
    for (std::size_t n = 1; n < samples.size(); ++n) {
        const double a = samples[n - 1], b = samples[n];
        if (a < 0 && b >= 0) {
            lastCrossing = double(n - 1) - a / (b - a);
            if (crossings++ == 0) firstCrossing = lastCrossing;
        }
    }
    if (crossings >= 2) result.hz = (crossings - 1) * double(sampleRate) / (lastCrossing - firstCrossing);
    return result;
}

}  // namespace horatta::testing
