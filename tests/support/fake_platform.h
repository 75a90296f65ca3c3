#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "settings/memory_registry.h"

namespace horatta::testing {

// Milliseconds since 2000-01-01 00:00:00 local time, and back.
std::int64_t toMs(const DateTime& t);
DateTime fromMs(std::int64_t ms);
DateTime at(int year, int month, int day, int hour, int minute, int second, int millisecond = 0);

// An in-memory registry that also notes the name of every value written, in order, and
// every value read or written as "read name" or "write name".
class RecordingRegistry : public MemoryRegistry {
public:
    std::vector<std::string> writtenNames;
    std::vector<std::string> accesses;
    std::optional<RegistryValue> queryValue(Key key, std::string_view name) override;
    bool setValue(Key key, std::string_view name, const RegistryValue& value) override;
};

struct BeepCall {
    int hz;
    int ms;
    std::int64_t atMs;  // virtual time when the tone began
    bool operator==(const BeepCall& o) const { return hz == o.hz && ms == o.ms; }
};

// A platform with a virtual clock, a fixed English locale and an in-memory registry. It
// records every call the core makes, in order, and never touches the real system.
class FakePlatform : public Platform {
public:
    FakePlatform();

    // --- the virtual clock
    std::int64_t clockMs = 0;
    void setNow(const DateTime& t) { clockMs = toMs(t); }
    void advanceMs(std::int64_t ms) { clockMs += ms; }
    bool beepTakesTime = true;

    // --- configuration
    int screenWidthPixels = 1920;
    std::vector<PixelRect> screenRects{{0, 0, 1920, 1080}};
    float twipsPerCharacter = 75;  // text width: 5 pixels a character
    std::optional<WindowPosition> dragTo;
    // Runs while a drag holds the mouse, to see what the clock looks like meanwhile.
    std::function<void()> duringDrag;
    // Runs while a tone holds the tick, to see what the face shows meanwhile.
    std::function<void()> duringBeep;

    // --- what happened
    std::vector<std::string> calls;  // "showWindow Form2", "exitWindows 13 0", ...
    std::vector<BeepCall> beeps;
    int endProgramCount = 0;
    int powerOffCount = 0;  // exitWindows calls
    RecordingRegistry memory;

    std::vector<std::string> callsStartingWith(const std::string& prefix) const;

    DateTime now() override { return fromMs(clockMs); }
    std::string longTimeText(TimeOfDay time) override;
    std::string weekdayName(int weekday) override;
    std::string monthAbbreviation(int month) override;
    std::optional<TimeOfDay> parseDateOrTime(const std::string& text) override;
    void beep(int hz, int ms) override;
    WindowPosition dragWindow(ControlId window, WindowPosition from) override;
    void makeTopmost(ControlId window) override;
    void showWindow(ControlId window) override;
    void showCaret(ControlId field) override;
    void hideCaret(ControlId field) override;
    void setFocus(ControlId control) override;
    int screenWidthTwips() override { return screenWidthPixels * 15; }
    int twipsPerPixelX() override { return 15; }
    int twipsPerPixelY() override { return 15; }
    std::vector<PixelRect> screens() override { return screenRects; }
    float textWidth(const std::string& text) override;
    void endProgram() override;
    void enableShutdownPrivilege() override;
    void exitWindows(std::uint32_t flags, std::uint32_t reserved) override;
    void setHotKey(ControlId window, std::int32_t value) override;
    Registry& registry() override { return memory; }

    // The settings as the program would find them: a string value or nothing.
    std::optional<std::string> stored(const std::string& name);
    void store(const std::string& name, const std::string& value);
};

}  // namespace horatta::testing
