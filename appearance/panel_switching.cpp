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
    const bool ticking = Timer1.enabled();

    if (ticking && labelShown) {
        if (Timer1.interval() == 50) {
            Label1.setAutoSize(true);
            Label1.setCaption(timeText());
            Timer1.setInterval(1000);
            Label1.Left = faceRestLeft;
            return;
        }
        if (Text1.Visible || Picture2.Top == 300) return;
        // horatta-t opens the panel only while the time rests in its place.
        if (build_ == Build::Plain && Label1.Left != faceRestLeft) return;

        Height = 300;
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

    if (!ticking) {
        // The last minute before a power-off: cancel it for this run.
        Timer1.setEnabled(true);
        Label1.Visible = true;
        Label1.setAutoSize(true);
        Label1.Left = faceRestLeft;
        Label1.setCaption(timeText());
        shutdownTime = TimeOfDay();
        return;
    }

    if (Timer1.interval() == 1000) {
        // The shutdown-time entry is open: the time typed so far is applied.
        ApplyShutdownEntry();
        return;
    }

    // A reminder alert in its hidden phase: show the time at rest; the next tick, finding
    // no alert and no scrolling, returns to the normal clock.
    Label1.setAutoSize(true);
    Label1.Left = faceRestLeft;
    Label1.setCaption(timeText());
    Label1.Visible = true;
}

}  // namespace horatta
