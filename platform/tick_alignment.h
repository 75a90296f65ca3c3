#pragma once

namespace horatta {

// Ticks of 1000 ms and 500 ms fire just after each wall-clock second (or half-second),
// so that the face never steps over a second and a full hour, a reminder second or a
// power-off second is always seen. Other intervals run free.
inline constexpr int tickAlignmentSlackMs = 15;

enum class TickMoment {
    Started,  // the timer was just enabled or given a new interval
    Fired,    // the timer has just fired
};

// Milliseconds from now until the timer should next fire. msIntoSecond is the wall
// clock's millisecond (0..999) at that moment.
int nextTickDelayMs(int intervalMs, int msIntoSecond, TickMoment moment, int slackMs = tickAlignmentSlackMs);

}  // namespace horatta
