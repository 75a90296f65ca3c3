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

}  // namespace horatta::testing
