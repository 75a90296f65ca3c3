#include "platform/tick_alignment.h"

namespace horatta {

int nextTickDelayMs(int intervalMs, int msIntoSecond, TickMoment moment, int slackMs) {
    if (intervalMs != 1000 && intervalMs != 500) return intervalMs > 0 ? intervalMs : 1;
    int ms = ((msIntoSecond % 1000) + 1000) % 1000;
    int phase = ms % intervalMs;
    // A timer started just after a grid point still catches that point. A timer that has
    // fired, even a little early, waits for the next point so no point is seen twice.
    if (moment == TickMoment::Started && phase < slackMs) return slackMs - phase;
    return intervalMs - phase + slackMs;
}

}  // namespace horatta
