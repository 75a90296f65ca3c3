#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/date_time.h"
#include "settings/registry.h"

namespace horatta {

// Every control and window a shell may be asked to act on.
enum class ControlId {
    Form1, Form2,
    Picture1, Picture2, Picture3, Picture4, Picture5, Picture6, Picture7, Picture8, Picture9,
    Label1, Label2, Label3,
    Text1, Text2, Text3, Text4,
    MaskEdBox1, MaskEdBox2,
};

const char* controlName(ControlId id);

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

struct WindowPosition {
    float left = 0;  // twips
    float top = 0;
};

// What the clock asks of the operating system. A shell implements it; the tests fake it.
// Blocking calls block on purpose: the clock relies on a beep holding its tick for the
// tone's length, and on a colour step happening only after a drag has ended.
class Platform {
public:
    virtual ~Platform() = default;

    // --- time
    virtual DateTime now() = 0;

    // --- locale
    // The system's long time format for a value that has a time part only.
    virtual std::string longTimeText(TimeOfDay time) = 0;
    virtual std::string weekdayName(int weekday) = 0;       // 0 Sunday .. 6 Saturday, full name
    virtual std::string monthAbbreviation(int month) = 0;   // 1..12
    // The system's test whether a text denotes a date or a time; returns its time part.
    virtual std::optional<TimeOfDay> parseDateOrTime(const std::string& text) = 0;

    // --- sound
    // Sounds the tone and returns only when it has ended.
    virtual void beep(int hz, int ms) = 0;

    // --- window system
    // Lets the user move the window with the mouse until the button is released; returns
    // the window's position afterwards (the one given when it did not move).
    virtual WindowPosition dragWindow(ControlId window, WindowPosition from) = 0;
    // Keep the window above others, without moving, sizing or activating it, and show it.
    virtual void makeTopmost(ControlId window) = 0;
    virtual void showWindow(ControlId window) = 0;
    virtual void showCaret(ControlId field) = 0;
    virtual void hideCaret(ControlId field) = 0;
    virtual void setFocus(ControlId control) = 0;
    virtual int screenWidthTwips() = 0;   // the primary screen
    virtual int twipsPerPixelX() = 0;
    virtual int twipsPerPixelY() = 0;
    virtual std::vector<PixelRect> screens() = 0;
    // Width in twips of a caption in the labels' font.
    virtual float textWidth(const std::string& text) = 0;
    // Ends the process at once; no further event is handled.
    virtual void endProgram() = 0;

    // --- power
    virtual void enableShutdownPrivilege() = 0;
    virtual void exitWindows(std::uint32_t flags, std::uint32_t reserved) = 0;

    // --- hot key: low byte the key code, high byte the modifiers (2 Ctrl, 4 Alt)
    virtual void setHotKey(ControlId window, std::int32_t value) = 0;

    // --- settings
    virtual Registry& registry() = 0;
};

}  // namespace horatta
