#include "tone_analysis.h"

#include <algorithm>
#include <cstdlib>

namespace horatta::testing {

ToneAnalysis analyse(const std::vector<std::int16_t>& samples, int sampleRate) {
    ToneAnalysis result;
    result.lengthMs = 1000.0 * double(samples.size()) / sampleRate;
    for (std::int16_t s : samples) result.peak = std::max(result.peak, std::abs(int(s)));
    if (result.peak == 0) return result;

    const int threshold = result.peak / 10;
    const auto loud = [&](std::int16_t s) { return std::abs(int(s)) > threshold; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud);
    result.soundingMs = 1000.0 * double(std::distance(first, last.base())) / sampleRate;

    // Rising crossings, placed between samples by linear interpolation.
    double firstCrossing = -1;
    double lastCrossing = -1;
    int crossings = 0;
    for (std::size_t n = 1; n < samples.size(); ++n) {
        const double a = samples[n - 1];
        const double b = samples[n];
        if (a < 0 && b >= 0) {
            const double at = double(n - 1) + (-a) / (b - a);
            if (firstCrossing < 0) firstCrossing = at;
            lastCrossing = at;
            ++crossings;
        }
    }
    if (crossings >= 2) result.hz = (crossings - 1) * double(sampleRate) / (lastCrossing - firstCrossing);
    return result;
}

}  // namespace horatta::testing
