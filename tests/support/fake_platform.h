#pragma once

#include <array>
#include <chrono>
#include <cstdio>
#include <functional>

#include "platform/window_system.h"
#include "settings/memory_registry.h"
#include "settings/settings.h"
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
    const sys_time<milliseconds> moment{milliseconds(ms)};
    const sys_days day = floor<days>(moment);
    const year_month_day date{day};
    const hh_mm_ss time{moment - day};
    return {int(date.year()), int(unsigned(date.month())), int(unsigned(date.day())), int(time.hours().count()),
            int(time.minutes().count()), int(time.seconds().count()), int(time.subseconds().count()),
            int(weekday(day).c_encoding())};
}
inline DateTime at(int year, int month, int day, int hour, int minute, int second, int millisecond = 0) {
    return fromMs(toMs({year, month, day, hour, minute, second, millisecond}));  // fills the weekday
}

// An in-memory registry that notes the name of every value written, in order.
class RecordingRegistry : public MemoryRegistry {
public:
    std::vector<std::string> writtenNames;
    bool setValue(Key key, std::string_view name, const RegistryValue& value) override {
        writtenNames.emplace_back(name);
        return MemoryRegistry::setValue(key, name, value);
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
    std::function<void()> duringDrag;  // runs while a drag holds the mouse
    std::function<void()> duringBeep;  // runs while a tone holds the tick

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
            p.note("dragWindow", window);
            if (p.duringDrag) p.duringDrag();
            return p.dragTo.value_or(from);
        }
        void makeTopmost(ControlId window) override { p.note("makeTopmost", window); }
        void showWindow(ControlId window) override { p.note("showWindow", window); }
        void setCaretShown(ControlId field, bool shown) override { p.note(shown ? "showCaret" : "hideCaret", field); }
        void setFocus(ControlId control) override { p.note("setFocus", control); }
        void endProgram() override { ++p.endProgramCount, p.note("endProgram"); }
        void paintNow() override {}
    } windows_{*this};
};

}  // namespace horatta::testing
