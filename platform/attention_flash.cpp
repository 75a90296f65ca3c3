#include "platform/attention_flash.h"

namespace horatta {

std::optional<bool> AttentionFlash::invertedAt(std::int64_t elapsedMs) {
    // A clock stepped back mid-flash counts as its start.
    if (elapsedMs < 0) elapsedMs = 0;
    const std::int64_t phase = elapsedMs / phaseMs;
    if (phase >= phases) return std::nullopt;
    return phase % 2 == 0;
}

int AttentionFlash::nextChangeInMs(std::int64_t elapsedMs) {
    if (elapsedMs < 0) elapsedMs = 0;
    return static_cast<int>(phaseMs - elapsedMs % phaseMs);
}

}  // namespace horatta
