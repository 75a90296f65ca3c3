#pragma once

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

#include "support/fake_platform.h"
#include "window/form1.h"
#include "window/form_timers.h"

namespace horatta::testing {

enum class TimerId { Timer1, Timer2, Timer3 };

// One timer firing, and the face (Label1) as the handler left it.
struct Tick {
    TimerId timer = TimerId::Timer1;
    std::int64_t firedMs = 0;          // virtual time when the handler began
    bool alertOn = false;              // the reminder alert was on as the handler began
    std::int16_t ticksLeftBefore = 0;  // ticksLeft as the handler began
    std::vector<BeepCall> beeps = {};  // the tones the handler sounded
    std::string caption = {};          // the face as the handler left it
    bool visible = false;
    float left = 0, width = 0;
    Alignment alignment = Alignment::Left;
};

// Stands in for a shell: owns a FakePlatform and a Form1, runs start-up, and lets the shells'
// timer driver fire the three timers on the virtual clock. It is the driver's native timer: it
// notes the one moment the driver arms and, as the virtual clock reaches it, lets the driver
// serve every timer due, so the timers keep the shells' rules exactly. The alignment slack is
// the largest a shell uses, so tests see the latest a tick may come. After the program has
// ended (save-and-exit), no timer fires. Gestures call the Form1 handlers through form().
class Simulator : private NativeTimer {
public:
    static constexpr int slackMs = 15;
    using Settings = std::vector<std::pair<std::string, std::string>>;

    // Stores `stored` in the registry, sets the virtual clock to `start` and starts the clock.
    explicit Simulator(Build build, const DateTime& start = at(2026, 12, 6, 18, 36, 16, 500),
                       const Settings& stored = {}) : build_(build) {
        for (const auto& [name, value] : stored)
            WriteSetting(platform_.memory, HKEY_LOCAL_MACHINE, settingsPath, name, value);
        platform_.memory.writtenNames.clear();  // seeding the registry is not a write of the program's
        platform_.clockMs = toMs(start);
        restart();
    }

    FakePlatform& platform() { return platform_; }
    Form1& form() { return *form_; }
    // The setting as the program would find it: a string value or nothing.
    std::optional<std::string> stored(const std::string& name) {
        return ReadSetting(platform_.memory, HKEY_LOCAL_MACHINE, settingsPath, name);
    }
    // Keys typed into a control as the shell forwards them; "\r" is Enter.
    void type(ControlId field, std::string_view keys) {
        for (unsigned char c : keys) form_->timeFieldKeyPress(field, static_cast<std::int16_t>(c));
    }
    std::int64_t nowMs() const { return platform_.clockMs; }

    // Fires every timer due up to and including `ms`, then sets the clock to `ms`, or leaves
    // it later when a handler overran.
    void runUntil(std::int64_t ms) { runUntilTrue([] { return false; }, ms); }
    void runUntil(const DateTime& t) { runUntil(toMs(t)); }
    void runFor(std::int64_t ms) { runUntil(nowMs() + ms); }
    // Lets the timers fire until `done()` holds after a wake-up; gives up at `limitMs`.
    bool runUntilTrue(const std::function<bool()>& done, std::int64_t limitMs) {
        while (!ended() && armed_ && *armed_ <= limitMs) {
            platform_.clockMs = std::max(platform_.clockMs, *armed_);
            armed_.reset();  // a single shot
            timers_->fired();
            if (done()) return true;
        }
        platform_.clockMs = std::max(platform_.clockMs, limitMs);
        return false;
    }
    // The wall clock jumps by `ms` between two firings (a time server, the user, a sleep). The
    // native timer counts real time: it goes off after the wait it was armed with.
    void stepClock(std::int64_t ms) {
        platform_.clockMs += ms;
        if (armed_) *armed_ += ms;
    }

    bool ended() const { return platform_.endProgramCount > endCountAtStart_; }
    // Starts the program again on the same registry at the current virtual time.
    void restart() {
        timers_.reset(), form_.reset(), armed_.reset();
        endCountAtStart_ = platform_.endProgramCount;
        form_ = std::make_unique<Form1>(build_, platform_);
        timers_ = std::make_unique<FormTimers>(
            *form_, static_cast<NativeTimer&>(*this), [this] { return platform_.clockMs; }, slackMs,
            [this](std::size_t index, const std::function<void()>& handler) { deliver(index, handler); });
        form_->Form_Load();
        timers_->start();  // the timers start running once start-up has finished
    }

    std::vector<Tick> ticks;
    std::vector<Tick> ticksOf(TimerId id, bool alertOnly = false) const {
        std::vector<Tick> out;
        std::copy_if(ticks.begin(), ticks.end(), std::back_inserter(out),
                     [&](const Tick& t) { return t.timer == id && (t.alertOn || !alertOnly); });
        return out;
    }

private:
    void deliver(std::size_t index, const std::function<void()>& handler) {
        if (ended()) return;  // as in the shells, nothing is handled once the program has ended
        Tick tick{static_cast<TimerId>(index), platform_.clockMs, form_->reminderAlertOn == 1, form_->ticksLeft};
        const auto beepsBefore = static_cast<std::ptrdiff_t>(platform_.beeps.size());
        handler();
        const Label& face = form_->Label1;
        tick.beeps.assign(platform_.beeps.begin() + beepsBefore, platform_.beeps.end());
        tick.caption = face.caption(), tick.visible = face.Visible, tick.left = face.Left, tick.width = face.Width;
        tick.alignment = face.alignment;
        ticks.push_back(std::move(tick));
    }
    void arm(std::int64_t dueMs) override { armed_ = dueMs; }
    void cancel() override { armed_.reset(); }

    Build build_;
    FakePlatform platform_;
    std::unique_ptr<Form1> form_;
    std::unique_ptr<FormTimers> timers_;
    std::optional<std::int64_t> armed_;
    int endCountAtStart_ = 0;
};

inline const char* buildName(Build build) { return build == Build::Masked ? "horatta" : "horatta-t"; }
inline constexpr std::array<Build, 2> bothBuilds{Build::Masked, Build::Plain};

// The display mode the face is in, judged by the timer, the alert and scroll flags and, for
// an alert, whether the text fits the face.
inline std::string modeOf(Form1& f) {
    if (!f.Timer1.enabled()) return "countdown";
    if (f.shutdownField().Visible && !f.Label1.Visible && !f.Label3.Visible) return "shutdown entry";
    if (f.reminderAlertOn == 1) return f.Label1.Width <= f.Picture1.Width ? "blinking alert" : "scrolling alert";
    return f.scrollOn == 1 ? "scroll" : "normal";
}

}  // namespace horatta::testing
