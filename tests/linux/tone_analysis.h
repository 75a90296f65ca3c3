#pragma once

#include <cstdint>
#include <vector>

namespace horatta::testing {

// What can be heard in a run of 16-bit samples.
struct ToneAnalysis {
    double lengthMs = 0;    // all samples
    double soundingMs = 0;  // from the first to the last sample above a tenth of the peak
    double hz = 0;          // from the rising zero crossings, 0 when there are fewer than two
    int peak = 0;
};

ToneAnalysis analyse(const std::vector<std::int16_t>& samples, int sampleRate);

}  // namespace horatta::testing
