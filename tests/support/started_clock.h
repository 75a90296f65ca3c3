#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "support/fake_platform.h"
#include "window/form1.h"

namespace horatta::testing {

inline const char* buildName(Build build) { return build == Build::Masked ? "horatta" : "horatta-t"; }

// A clock that has been through start-up on a fake platform. Restarting builds a new
// window on the same platform, so the stored settings carry over as they would on disk.
struct StartedClock {
    explicit StartedClock(Build b = Build::Masked) : build(b) { restart(); }

    void restart() {
        form.reset();
        form = std::make_unique<Form1>(build, platform);
        form->Form_Load();
    }

    Form1& f() { return *form; }

    // Keys typed into a time field as the shell forwards them.
    void type(ControlId field, std::string_view keys) {
        for (char c : keys) form->timeFieldKeyPress(field, static_cast<std::int16_t>(static_cast<unsigned char>(c)));
    }
    void typeShutdown(std::string_view keys) { type(form->shutdownFieldId(), keys); }
    void typeReminder(std::string_view keys) { type(form->reminderFieldId(), keys); }
    void pressShutdown(std::int16_t code) { form->timeFieldKeyPress(form->shutdownFieldId(), code); }
    void pressReminder(std::int16_t code) { form->timeFieldKeyPress(form->reminderFieldId(), code); }

    Build build;
    FakePlatform platform;
    std::unique_ptr<Form1> form;
};

// The display mode the face is in, judged as the clock tick would judge it: by the timer,
// the alert and scroll flags and, for an alert, whether the text fits the face.
enum class Mode { Normal, Scroll, BlinkingAlert, ScrollingAlert, Countdown, ShutdownEntry };

inline const char* modeName(Mode m) {
    switch (m) {
        case Mode::Normal: return "normal clock";
        case Mode::Scroll: return "scroll mode";
        case Mode::BlinkingAlert: return "blinking alert";
        case Mode::ScrollingAlert: return "scrolling alert";
        case Mode::Countdown: return "power-off countdown";
        case Mode::ShutdownEntry: return "shutdown-time entry";
    }
    return "?";
}

inline std::ostream& operator<<(std::ostream& out, Mode m) { return out << modeName(m); }

inline Mode modeOf(Form1& f) {
    if (!f.Timer1.enabled()) return Mode::Countdown;
    if (f.shutdownField().Visible && !f.Label1.Visible && !f.Label3.Visible) return Mode::ShutdownEntry;
    if (f.reminderAlertOn == 1)
        return f.Label1.Width <= f.Picture1.Width ? Mode::BlinkingAlert : Mode::ScrollingAlert;
    if (f.scrollOn == 1) return Mode::Scroll;
    return Mode::Normal;
}

// The face as the other subsystems leave it in each mode, set directly so that a gesture
// can be tested from any mode without playing the way there.
inline void putInScrollMode(Form1& f, std::string memo = "Buy milk") {
    f.Text2.Text = std::move(memo);
    f.scrollOn = 1;
    f.Timer1.setInterval(50);
    f.Label1.setAutoSize(true);
    f.Label1.setCaption(f.Text2.Text.empty() ? f.timeText() : f.Text2.Text);
    f.Label1.Left = 420;
}

inline void putInBlinkingAlert(Form1& f, bool shown, std::string text = "Call home") {
    f.reminderAlertOn = 1;
    f.scrollOn = 0;
    f.Timer1.setInterval(500);
    f.Label1.setCaption(std::move(text));
    f.Label1.setAutoSize(false);
    f.Label1.Left = -25;
    f.Label1.Width = f.Picture1.Width;
    f.Label1.alignment = Alignment::Center;
    f.Label1.Visible = shown;
    f.ticksLeft = 41;
}

inline void putInScrollingAlert(Form1& f, bool shown) {
    f.reminderAlertOn = 1;
    f.scrollOn = 0;
    f.Timer1.setInterval(50);
    f.Label1.setAutoSize(true);
    f.Label1.setCaption("Leave for the station in ten minutes");
    f.Label1.Left = 310;
    f.Label1.Visible = shown;
    f.ticksLeft = 57;
}

inline void putInCountdown(Form1& f, bool shown) {
    f.shutdownTime = *TimeOfDay::fromHms(18, 37, 0);
    f.Timer1.setEnabled(false);
    f.Timer3.setInterval(500);
    f.Label1.setCaption("43 关机");
    f.Label1.alignment = Alignment::Center;
    f.Label1.Visible = shown;
    f.ticksLeft = 25;
}

}  // namespace horatta::testing
