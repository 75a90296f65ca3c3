#pragma once

namespace horatta {

// Ticks of 1000 ms and 500 ms fire just after each wall-clock second (or half-second),
// so that the face never steps over a second and a full hour, a reminder second or a
// power-off second is always seen. Other intervals run free. `slackMs` is how long after the
// second they fire: as little as the platform's timers can keep to.

enum class TickMoment {
    Started,  // the timer was just enabled or given a new interval
    Fired,    // the timer has just fired
};

// Milliseconds from now until the timer should next fire. msIntoSecond is the wall
// clock's millisecond (0..999) at that moment.
int nextTickDelayMs(int intervalMs, int msIntoSecond, TickMoment moment, int slackMs);

}  // namespace horatta
