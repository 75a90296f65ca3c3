#include "window/form1.h"

namespace horatta {

// The general way back to the clock; over the plain clock it opens the reminder-time panel.
void Form1::Picture1_DblClick() {
    Label3.Visible = true;
    // The first press of this double-click may have opened the memo: it closes unsaved.
    Text2.Visible = false;
    focusLeaves(ControlId::Text2);
    reminderAlertOn = 0;
    scrollOn = 0;

    const bool labelShown = Label1.Visible;
    const FaceMode mode = faceMode();

    if (mode != FaceMode::Countdown && labelShown) {
        if (mode == FaceMode::Scrolling) {
            Timer1.setInterval(faceClockIntervalMs);
            showTimeAtRest();
            return;
        }
        if (Text1.Visible || Picture2.Top == stripHeight) return;
        // horatta-t opens the panel only while the time rests in its place.
        if (build_ == Build::Plain && Label1.Left != faceRestLeft) return;

        Height = stripHeight;
        Picture2.Top = 0;
        while (Picture2.Top <= 290) {
            Height += 10;
            Picture2.Top += 10;
        }
        reminderField().Visible = true;
        blinkingEntry = 1;
        Timer2.setEnabled(true);
        return;
    }

    if (mode == FaceMode::Countdown) {
        cancelPowerOffForThisRun();
        return;
    }

    if (mode == FaceMode::Clock) {
        // The shutdown-time entry is open: the time typed so far is applied.
        ApplyShutdownEntry();
        return;
    }

    // A reminder alert in its hidden phase: show the time at rest; the next tick, finding
    // no alert and no scrolling, returns to the normal clock.
    showTimeAtRest();
}

}  // namespace horatta
