#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/fake_platform.h"
#include "window/form1.h"
#include "window/form_timers.h"

namespace horatta::testing {

enum class TimerId { Timer1, Timer2, Timer3 };

// One timer firing, as the simulator saw it.
struct Tick {
    TimerId timer = TimerId::Timer1;
    std::int64_t firedMs = 0;          // virtual time when the handler began
    std::int16_t alertOnBefore = 0;    // reminderAlertOn as the handler began
    std::int16_t ticksLeftBefore = 0;  // ticksLeft as the handler began
    std::int16_t ticksLeft = 0;        // ticksLeft as the handler left it
    std::vector<BeepCall> beeps;       // the tones the handler sounded
    // Label1 (the face) as the handler left it.
    std::string caption;
    bool visible = false;
    float left = 0;
    float width = 0;
    bool autoSize = false;
    Alignment alignment = Alignment::Left;
};

// Stands in for a shell: owns a FakePlatform and a Form1, runs start-up, and lets the shells'
// timer driver fire the three timers on the virtual clock.
//
//  * The simulator is the driver's native timer: it notes the one moment the driver arms and,
//    as the virtual clock reaches it, sets the clock there and lets the driver serve every
//    timer that is due. So the timers keep the desktop shells' rules exactly (alignment to
//    the wall-clock second, restarts on every change, one wake-up for timers due together).
//  * The alignment slack is the largest a shell uses (`slackMs`), so the tests see the
//    latest a tick may come.
//  * After the program has ended (save-and-exit), no timer fires.
//
// Gestures are made by calling the Form1 handlers directly through form(); the timers follow
// whatever the handlers change. Every firing is recorded as a Tick (see ticks()).
class Simulator : private NativeTimer {
public:
    static constexpr int slackMs = 15;

    using Settings = std::vector<std::pair<std::string, std::string>>;

    // Stores `stored` in the registry, sets the virtual clock to `start` and starts the clock.
    explicit Simulator(Build build, const DateTime& start = at(2026, 12, 6, 18, 36, 16, 500),
                       const Settings& stored = {}, const std::function<void(FakePlatform&)>& setUp = nullptr);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    FakePlatform& platform() { return platform_; }
    std::optional<std::string> stored(const std::string& name) { return platform_.stored(name); }
    // Keys typed into a control as the shell forwards them; "\r" is Enter.
    void type(ControlId field, std::string_view keys) {
        for (char c : keys) form_->timeFieldKeyPress(field, static_cast<std::int16_t>(static_cast<unsigned char>(c)));
    }
    Form1& form() { return *form_; }
    Build build() const { return build_; }

    std::int64_t nowMs() const { return platform_.clockMs; }
    DateTime now() const { return fromMs(platform_.clockMs); }

    // Fires every timer due up to and including `ms` (virtual milliseconds, as FakePlatform
    // counts them), then sets the clock to `ms`, or leaves it later when a handler overran.
    void runUntil(std::int64_t ms);
    void runUntil(const DateTime& t) { runUntil(toMs(t)); }
    void runFor(std::int64_t ms) { runUntil(nowMs() + ms); }
    // The wall clock jumps by `ms` (forward or back) between two firings, as a time server
    // or the user sets it, or as a sleep looks on waking. The native timer counts real time,
    // not the wall clock: it goes off after the wait it was armed with, at a moment the
    // jump has moved by as much.
    void stepClock(std::int64_t ms);
    // Lets the timers fire until `done()` holds after a wake-up; gives up at `limitMs`.
    // Returns whether `done()` held.
    bool runUntilTrue(const std::function<bool()>& done, std::int64_t limitMs);

    // The program ended (save-and-exit) since it was last started.
    bool ended() const { return platform_.endProgramCount > endCountAtStart_; }
    // Starts the program again on the same registry at the current virtual time, as a
    // user would after leaving it. The record of ticks is kept.
    void restart();

    // When the timer fires next; nothing while it is disabled.
    std::optional<std::int64_t> dueMs(TimerId timer) const;

    // --- the record of firings
    bool recording = true;
    const std::vector<Tick>& ticks() const { return ticks_; }
    std::vector<Tick> ticksOf(TimerId timer) const;
    // The captions of Label1 after each firing of `timer`, in order.
    std::vector<std::string> captionsAfter(TimerId timer) const;
    // Firings of Timer1 that began with the reminder alert on.
    int alertTicks() const;
    void clearRecord() { ticks_.clear(); }

private:
    void startProgram();
    void deliver(std::size_t index, const std::function<void()>& handler);
    void arm(std::int64_t dueMs) override { armed_ = dueMs; }
    void cancel() override { armed_.reset(); }

    Build build_;
    FakePlatform platform_;
    std::unique_ptr<Form1> form_;
    std::unique_ptr<FormTimers> timers_;
    std::optional<std::int64_t> armed_;
    std::vector<Tick> ticks_;
    int endCountAtStart_ = 0;
};

inline const char* buildName(Build build) { return build == Build::Masked ? "horatta" : "horatta-t"; }
inline constexpr std::array<Build, 2> bothBuilds{Build::Masked, Build::Plain};

// The display mode the face is in, judged by the timer, the alert and scroll flags and, for
// an alert, whether the text fits the face.
enum class Mode { Normal, Scroll, BlinkingAlert, ScrollingAlert, Countdown, ShutdownEntry };

inline std::ostream& operator<<(std::ostream& out, Mode m) {
    constexpr std::array<const char*, 6> names{"normal", "scroll", "blinking alert", "scrolling alert", "countdown",
                                               "shutdown entry"};
    return out << names.at(static_cast<std::size_t>(m));
}

inline Mode modeOf(Form1& f) {
    if (!f.Timer1.enabled()) return Mode::Countdown;
    if (f.shutdownField().Visible && !f.Label1.Visible && !f.Label3.Visible) return Mode::ShutdownEntry;
    if (f.reminderAlertOn == 1)
        return f.Label1.Width <= f.Picture1.Width ? Mode::BlinkingAlert : Mode::ScrollingAlert;
    if (f.scrollOn == 1) return Mode::Scroll;
    return Mode::Normal;
}

}  // namespace horatta::testing
