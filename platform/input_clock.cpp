#include "platform/input_clock.h"

namespace horatta {

namespace {

// Whether gap `a` is the smaller, on clocks that wrap: gaps are compared by their difference.
bool smaller(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b) < 0; }

}  // namespace

std::int64_t InputClock::madeAt(std::uint32_t eventMs, std::int64_t nowMs) {
    const std::uint32_t gap = static_cast<std::uint32_t>(nowMs) - eventMs;
    if (!offset_ || nowMs - windowStartMs_ >= windowMs) {
        if (offset_) previousOffset_ = offset_;
        offset_.reset();
        windowStartMs_ = nowMs;
    }
    if (!offset_ || smaller(gap, *offset_)) offset_ = gap;
    std::uint32_t offset = *offset_;
    if (previousOffset_ && smaller(*previousOffset_, offset)) offset = *previousOffset_;
    // How long the event waited: never negative, since the offset is the smallest gap.
    return nowMs - static_cast<std::int32_t>(gap - offset);
}

}  // namespace horatta
