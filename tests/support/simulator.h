#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <memory>

#include "platform/window_system.h"
#include "settings/memory_registry.h"
#include "settings/settings.h"
#include "window/form1.h"
#include "window/form_timers.h"
#include "window/pointer_input.h"
#include "window/utf8.h"

namespace horatta::testing {

// Milliseconds since 1970-01-01 00:00:00 local time, and back.
inline std::int64_t toMs(const DateTime& t) {
    using namespace std::chrono;
    return (sys_days{year(t.year) / t.month / t.day}.time_since_epoch() + hours(t.hour) + minutes(t.minute) +
            seconds(t.second) + milliseconds(t.millisecond)) / 1ms;
}
inline DateTime fromMs(std::int64_t ms) {
    using namespace std::chrono;
    const sys_days day = floor<days>(sys_time<milliseconds>{milliseconds(ms)});
    const year_month_day d{day};
    const hh_mm_ss t{milliseconds(ms) - day.time_since_epoch()};
    return {int(d.year()), int(unsigned(d.month())), int(unsigned(d.day())), int(t.hours().count()), int(t.minutes().count()),
            int(t.seconds().count()), int(t.subseconds().count()), int(weekday(day).c_encoding())};
}
inline DateTime at(int year, int month, int day, int hour, int minute, int second, int millisecond = 0) {
    return fromMs(toMs({year, month, day, hour, minute, second, millisecond}));  // fills the weekday
}

// An in-memory registry that notes the name of every value written, in order, and how many
// writes stored them.
class RecordingRegistry : public MemoryRegistry {
public:
    std::vector<std::string> writtenNames;
    int writes = 0;
    bool setValue(Key key, std::string_view name, const RegistryValue& value) override {
        return ++writes, writtenNames.emplace_back(name), MemoryRegistry::setValue(key, name, value);
    }
    bool setValues(Key key, const std::vector<NamedValue>& values) override {
        for (const auto& v : values) writtenNames.emplace_back(v.name);
        return ++writes, MemoryRegistry::setValues(key, values);
    }
};

// A tone; `atMs` is the virtual time when it began.
struct BeepCall {
    int hz, ms;
    std::int64_t atMs;
    bool operator==(const BeepCall& o) const { return hz == o.hz && ms == o.ms; }
};

// A platform with a virtual clock, a fixed English locale and an in-memory registry. Its window
// calls go through the same routing as the shells' and are recorded in order; it never touches
// the real system.
class FakePlatform : public WindowedPlatform {
public:
    FakePlatform() { setWindowSystem(&windows_); }

    std::int64_t clockMs = toMs(at(2026, 12, 6, 18, 36, 16, 500));
    std::vector<PixelRect> screenRects{{0, 0, 1920, 1080}};
    std::optional<WindowPosition> dragTo;
    // Run while a drag holds the mouse, a tone the tick, and as the power-off is asked for.
    std::function<void()> duringDrag, duringBeep, duringPowerOff;
    std::function<void()> painted;  // the model went on screen

    std::vector<std::string> calls;  // "showWindow Form2", "exitWindows 13 0", ...
    std::vector<BeepCall> beeps;
    int endProgramCount = 0, powerOffCount = 0;
    RecordingRegistry memory;

    DateTime now() override { return fromMs(clockMs); }
    std::string longTimeText(TimeOfDay t) override {  // English long time: "9:30:00 PM"
        std::array<char, 32> buf{};
        std::snprintf(buf.data(), buf.size(), "%d:%02d:%02d %cM", (t.hour() + 11) % 12 + 1, t.minute(), t.second(), "AP"[t.hour() / 12]);
        return buf.data();
    }
    std::string weekdayName(int day) override {
        return std::array{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"}.at(day);
    }
    std::string monthAbbreviation(int m) override { return std::string("JanFebMarAprMayJunJulAugSepOctNovDec").substr(m * 3u - 3, 3); }
    std::optional<TimeOfDay> parseDateOrTime(const std::string& text) override { return parseTimeOrDate(text); }
    int screenWidthTwips() override { return screenRects[0].width * 15; }
    int twipsPerPixelX() override { return 15; }
    int twipsPerPixelY() override { return 15; }
    std::vector<PixelRect> screens() override { return screenRects; }
    float textWidth(const std::string& text) override { return float(utf8::length(text)) * 75; }  // 5 pixels each
    void enableShutdownPrivilege() override { note("enableShutdownPrivilege"); }
    void exitWindows(std::uint32_t flags, std::uint32_t reserved) override {
        ++powerOffCount, note("exitWindows " + std::to_string(flags) + " " + std::to_string(reserved));
        if (duringPowerOff) duringPowerOff();
    }
    void setHotKey(ControlId window, std::int32_t value) override { note("setHotKey", window, " " + std::to_string(value)); }
    Registry& registry() override { return memory; }

private:
    void tone(int hz, int ms) override {  // the tone holds the tick
        if (beeps.push_back({hz, ms, clockMs}); duringBeep) duringBeep();
        clockMs += ms;
    }
    void note(std::string what, std::optional<ControlId> control = {}, const std::string& then = "") {
        calls.push_back(control ? what + " " + controlName(*control) + then : what);
    }
    struct Windows : WindowSystem {
        FakePlatform& p;
        explicit Windows(FakePlatform& platform) : p(platform) {}
        WindowPosition dragWindow(ControlId window, WindowPosition from) override {
            if (p.note("dragWindow", window); p.duringDrag) p.duringDrag();
            return p.dragTo.value_or(from);
        }
        void makeTopmost(ControlId window) override { p.note("makeTopmost", window); }
        void showWindow(ControlId window) override { p.note("showWindow", window); }
        void setCaretShown(ControlId field, bool shown) override { p.note(shown ? "showCaret" : "hideCaret", field); }
        void setFocus(ControlId control) override { p.note("setFocus", control); }
        void endProgram() override { ++p.endProgramCount, p.note("endProgram"); }
        void paintNow() override { if (p.painted) p.painted(); }
    } windows_{*this};
};

enum class TimerId { Timer1, Timer2, Timer3 };

// One timer firing: when, whether the reminder alert was on and the ticks left as the handler
// began, the tones it sounded, and the face (Label1) as it left it.
struct Tick {
    TimerId timer = TimerId::Timer1;
    std::int64_t firedMs = 0;
    bool alertOn = false;
    std::int16_t ticksLeftBefore = 0;
    std::vector<BeepCall> beeps = {};
    std::string caption = {};
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
        platform_.memory.writtenNames.clear(), platform_.memory.writes = 0;  // seeding the registry is not a write of the program's
        platform_.clockMs = toMs(start), restart();
    }

    FakePlatform& platform() { return platform_; }
    Form1& form() { return *form_; }
    // The setting as the program would find it: a string value or nothing.
    std::optional<std::string> stored(const std::string& name) { return ReadSetting(platform_.memory, HKEY_LOCAL_MACHINE, settingsPath, name); }
    // Keys typed into a control as the shell forwards them; "\r" is Enter.
    void type(ControlId field, std::string_view keys) {
        for (unsigned char c : keys) form_->timeFieldKeyPress(field, static_cast<std::int16_t>(c));
    }
    std::int64_t nowMs() const { return platform_.clockMs; }
    // As a shell does, tells `input` after each timer's handler (and before a tone) that the
    // model is on screen; input made while a handler held the clock goes in `waitingInput`
    // and is handled, in order, once the handler has returned.
    void showTo(PointerInput& input) { pointer_ = &input, platform_.painted = [this] { pointer_->shown(nowMs()); }; }
    std::vector<std::function<void()>> waitingInput;

    // Fires every timer due up to and including `ms`, then sets the clock to `ms`, or leaves
    // it later when a handler overran.
    void runUntil(std::int64_t ms) { runUntilTrue([] { return false; }, ms); }
    void runUntil(const DateTime& t) { runUntil(toMs(t)); }
    void runFor(std::int64_t ms) { runUntil(nowMs() + ms); }
    // Lets the timers fire until `done()` holds after a wake-up; gives up at `limitMs`.
    bool runUntilTrue(const std::function<bool()>& done, std::int64_t limitMs) {
        while (!ended() && armed_ && *armed_ <= limitMs) {
            platform_.clockMs = std::max(platform_.clockMs, *armed_), armed_.reset(), timers_->fired();  // a single shot
            if (done()) return true;
        }
        platform_.clockMs = std::max(platform_.clockMs, limitMs);
        return false;
    }
    // The wall clock jumps by `ms` between two firings (a time server, the user, a sleep). The
    // native timer counts real time: it goes off after the wait it was armed with.
    void stepClock(std::int64_t ms) { if (platform_.clockMs += ms; armed_) *armed_ += ms; }

    bool ended() const { return platform_.endProgramCount > endCountAtStart_; }
    // Starts the program again on the same registry at the current virtual time.
    void restart() {
        timers_.reset(), form_.reset(), armed_.reset(), endCountAtStart_ = platform_.endProgramCount;
        form_ = std::make_unique<Form1>(build_, platform_);
        timers_ = std::make_unique<FormTimers>(
            *form_, static_cast<NativeTimer&>(*this), [this] { return platform_.clockMs; }, slackMs,
            [this](std::size_t index, const std::function<void()>& handler) { deliver(index, handler); });
        form_->Form_Load(), timers_->start();  // the timers start running once start-up has finished
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
        for (std::size_t i = 0; pointer_ && i <= waitingInput.size(); ++i) {
            pointer_->shown(nowMs());
            if (i < waitingInput.size()) waitingInput[i]();
        }
        waitingInput.clear();
    }
    void arm(std::int64_t dueMs) override { armed_ = dueMs; }
    void cancel() override { armed_.reset(); }

    Build build_;
    FakePlatform platform_;
    std::unique_ptr<Form1> form_;
    std::unique_ptr<FormTimers> timers_;
    std::optional<std::int64_t> armed_;
    int endCountAtStart_ = 0;
    PointerInput* pointer_ = nullptr;
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
