#pragma once

#include <cstdint>
#include <optional>

namespace horatta {

// When the clock is started again while it runs, it shows the user where it is: the whole
// strip is drawn in inverted colours and normally in turn, a few quick flashes over about a
// second, and then as before. Both shells draw it from this one policy on a timer of their
// own, so the clock's thread never waits for it.
struct AttentionFlash {
    static constexpr int phaseMs = 125;
    static constexpr int phases = 8;  // inverted, normal, … : four flashes

    // How the strip is drawn `elapsedMs` after the flash began: true inverted, false as
    // normal, nothing once it is over (then the shell stops its timer and draws normally).
    static std::optional<bool> invertedAt(std::int64_t elapsedMs);
    // Milliseconds from `elapsedMs` to the next change of the drawing.
    static int nextChangeInMs(std::int64_t elapsedMs);
};

}  // namespace horatta
