#include "window/form1.h"

namespace horatta {

namespace {

constexpr int chimeHz = 1342;
constexpr int chimeMs = 300;
constexpr int alertLowHz = 3100;
constexpr int alertHighHz = 3110;
constexpr int alertToneMs = 200;
constexpr float blinkLeft = -25;
constexpr float scrollStep = 20;
// Every 26th hide phase is silent, which gives the alert its rhythm.
constexpr int silentHideEvery = 26;
// A scrolling alert ends after ten passes across the face.
constexpr std::int16_t scrollAlertEnd = ticksAtRest - 10;

void alertBeepPair(Form1& form) {
    form.Beep(alertLowHz, alertToneMs);
    form.Beep(alertHighHz, alertToneMs);
}

void decrement(std::int16_t& counter) { counter = static_cast<std::int16_t>(counter - 1); }

void blinkingAlert(Form1& form) {
    Label& face = form.Label1;
    face.Left = blinkLeft;
    face.Width = form.Picture1.Width;
    face.setAutoSize(false);
    face.alignment = Alignment::Center;
    form.Timer1.setInterval(faceBlinkIntervalMs);

    if (face.Visible) {
        face.Visible = false;
        if (form.ticksLeft % silentHideEvery != 0) alertBeepPair(form);
    } else {
        face.Visible = true;
        decrement(form.ticksLeft);
    }

    if (form.ticksLeft < 1) {
        form.reminderAlertOn = 0;
        form.ticksLeft = ticksAtRest;
        face.Left = faceRestLeft;
        face.alignment = Alignment::Left;
        face.setCaption(form.timeText());
    }
}

// Runs at the 50 ms pace the alert was started with.
void scrollingAlert(Form1& form) {
    Label& face = form.Label1;
    face.setAutoSize(true);
    face.Visible = true;
    face.Left -= scrollStep;
    if (face.Left <= -face.Width) {
        alertBeepPair(form);
        face.Left = form.Picture1.Width;
        decrement(form.ticksLeft);
    }
    if (form.ticksLeft <= scrollAlertEnd) {
        form.reminderAlertOn = 0;
        form.ticksLeft = ticksAtRest;
        face.Left = faceRestLeft;
        face.setCaption(form.timeText());
    }
}

void reminderAlert(Form1& form) {
    // An alert owns the face; scroll mode does not come back by itself afterwards.
    form.scrollOn = 0;
    if (form.Label1.Width <= form.Picture1.Width) blinkingAlert(form);
    else scrollingAlert(form);
}

void normalClock(Form1& form) {
    form.Timer1.setInterval(faceClockIntervalMs);
    form.Label1.alignment = Alignment::Left;
    form.Label1.Left = faceRestLeft;
    form.Label1.setCaption(form.timeText());
}

void scrollMode(Form1& form) {
    Label& face = form.Label1;
    // The memo scrolls unchanged; anything else on the face gives way to the running time.
    if (face.caption() != form.Text2.Text) face.setCaption(form.timeText());
    form.Timer1.setInterval(faceScrollIntervalMs);
    face.Left -= scrollStep;
    if (face.Left <= -face.Width) face.Left = form.Picture1.Width;
}

}  // namespace

void Form1::soundHourlyChime() {
    const DateTime now = platform_.now();
    if (now.minute != 0 || now.second != 0) return;
    // Ticks of 50 or 500 ms see the full-hour second more than once; it chimes once.
    const std::int64_t hour = ((static_cast<std::int64_t>(now.year) * 12 + now.month) * 31 + now.day) * 24 + now.hour;
    if (lastChimedHour_ == hour) return;
    lastChimedHour_ = hour;
    Beep(chimeHz, chimeMs);
}

void Form1::Timer1_Timer() {
    // Start-up wrote the day it started on; past midnight the tool-tip follows the date.
    refreshDateToolTip(platform_.now());
    if (reminderAlertOn == 1) reminderAlert(*this);
    else if (scrollOn == 1) scrollMode(*this);
    else normalClock(*this);
    if (build_ == Build::Plain) Label2.setCaption(platform_.longTimeText(shutdownTime));
    // Last, so that the full hour is on the face while the chime holds the tick.
    soundHourlyChime();
}

}  // namespace horatta
