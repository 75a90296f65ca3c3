#include "window/form1.h"

namespace horatta {

void Form1::Label1_DblClick() {
    // The first press of this double-click stepped the colour; take that back.
    undoColorStep();
    ticksLeft = ticksAtRest;
    Label3.Visible = true;
    Label1.alignment = Alignment::Left;

    const FaceMode mode = faceMode();
    if (mode == FaceMode::Countdown) {
        cancelPowerOffForThisRun();
        return;
    }

    if (mode == FaceMode::Blinking || mode == FaceMode::Scrolling) {
        // An alert stops; in scroll mode the scrolling text swaps between memo and time.
        reminderAlertOn = 0;
        if (scrollOn == 0 || Label1.caption() == Text2.Text) {
            Label1.setCaption(timeText());
        } else if (!Text2.Text.empty()) {
            Label1.setCaption(Text2.Text);
        }
        Label1.Left = faceRestLeft;
        Label1.setAutoSize(true);
        Label1.alignment = Alignment::Left;
        // A double-click made while the text showed may come in after a tick blinked it away.
        Label1.Visible = true;
        Timer1.setInterval(faceClockIntervalMs);
        return;
    }

    // The normal clock: open the shutdown-time entry, unless the memo is open over it.
    if (Text2.Visible) return;
    // Applying the entry commits the colour on screen and brings the parked skin back.
    holdColorAndSkin();
    Label1.Visible = false;
    Label3.Visible = false;
    shutdownField().Visible = true;
    blinkingEntry = 0;
    Timer2.setEnabled(true);
}

FaceMode Form1::faceMode() const {
    if (!Timer1.enabled()) return FaceMode::Countdown;
    switch (Timer1.interval()) {
        case faceBlinkIntervalMs: return FaceMode::Blinking;
        case faceScrollIntervalMs: return FaceMode::Scrolling;
        default: return FaceMode::Clock;
    }
}

void Form1::showTimeAtRest() {
    Label1.setAutoSize(true);
    Label1.alignment = Alignment::Left;
    Label1.Left = faceRestLeft;
    Label1.setCaption(timeText());
    Label1.Visible = true;
}

void Form1::returnFaceToClock() {
    Timer1.setEnabled(true);
    showTimeAtRest();
}

void Form1::cancelPowerOffForThisRun() {
    returnFaceToClock();
    shutdownTime = TimeOfDay();
}

void Form1::scrollToggle(std::int16_t button) {
    if (button == buttonLeft) return;
    if (scrollOn != 0) {
        scrollOn = 0;
        return;
    }
    scrollOn = 1;
    Label1.setCaption(Text2.Text.empty() ? timeText() : Text2.Text);
}

}  // namespace horatta
