#pragma once

#include <cstdint>
#include <optional>

namespace horatta {

// The times a window system stamps its input events with (the X server's milliseconds, 32
// bits that wrap), told on a steady clock of our own. The two clocks are never read side by
// side: an event is taken no earlier than it was made, so the smallest gap seen between an
// event's own time and our clock as we take it is the offset between the clocks. The
// smallest of the last few minutes counts, so that a server clock running a little slower
// than ours does not leave an old offset behind.
class InputClock {
public:
    // When an event stamped `eventMs`, taken now at our `nowMs`, was made, on our clock.
    std::int64_t madeAt(std::uint32_t eventMs, std::int64_t nowMs);

private:
    static constexpr std::int64_t windowMs = 5 * 60 * 1000;
    std::optional<std::uint32_t> offset_;          // the smallest gap seen in this window
    std::optional<std::uint32_t> previousOffset_;  // and in the window before
    std::int64_t windowStartMs_ = 0;
};

}  // namespace horatta
