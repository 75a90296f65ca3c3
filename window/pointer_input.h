#pragma once

#include <cstdint>
#include <deque>
#include <optional>

#include "platform/platform.h"
#include "window/layout.h"

namespace horatta {

class Form1;

// Two presses pair into a double-click when the second follows the first within this time.
inline constexpr int doubleClickTimeMs = 260;

// Presses on the clock window, decided in one place for every shell: which control lies
// under the pointer, and which presses make a click or a double-click.
//
// A shell reports every button going down or up in Form1's client area, in pixels, with
// the time it was made in milliseconds of a steady clock of its own (read off the input
// event's own time), and tells after each paint that what the model holds is on screen.
// The first press of a pair raises the control's MouseDown (and the face's Click on
// release); a left press that follows within the double-click time, close to the first and
// with no drag in between, raises only the DblClick of the control under that second
// press, whatever lay under the first. A label blinking away between the two presses
// therefore leaves the double-click to the face beneath it, whose handler cancels as the
// label's would. The system's own double-click time is never looked at or changed.
//
// A press may be handled well after it was made: a tone holds the clock's thread for its
// length, and a tick changes the face before the presses made meanwhile come in. Each
// press is paired by its own time and meets what the window showed when it was made.
class PointerInput {
public:
    explicit PointerInput(Form1& form);

    // Buttons and shift state as the press handlers take them (window/input_codes.h). A shell
    // hands these in through its EventDelivery: what arrives while a handler is still running
    // (a drag's nested loop) must wait until it has returned, as every other input does.
    void press(std::int16_t button, std::int16_t shift, int x, int y, std::int64_t timeMs);
    void release(std::int16_t button, int x, int y, std::int64_t timeMs);
    // The window shows the model as it is now, from `timeMs` on (the presses' clock).
    void shown(std::int64_t timeMs);
    // The pointer was taken away (another window grabbed it): no click is pending any more.
    void cancel();

    // The control under a point of the client area: a windowed control in its stacking
    // order, and on the face the handle Label3 in front of the time Label1; Form1 where no
    // control is shown. The second form: as the window showed it at a moment.
    ControlId controlAt(int x, int y) const;
    ControlId controlAt(int x, int y, std::int64_t timeMs) const;

    // How far (pixels, either way) the second press may lie from the first.
    static constexpr int doubleClickSlop = 2;

private:
    struct FirstPress {
        std::int64_t timeMs = 0;
        int x = 0;
        int y = 0;
    };
    struct Event {
        std::int16_t button = 0;
        std::int16_t shift = 0;
        int x = 0;
        int y = 0;
        std::int64_t timeMs = 0;
    };
    struct Shown {
        std::int64_t fromMs = 0;
        HitMap map;
    };
    void handlePress(const Event& event);
    void handleRelease(const Event& event);
    bool pairs(int x, int y, std::int64_t timeMs) const;
    void mouseDown(ControlId target, std::int16_t button, std::int16_t shift, int x, int y);
    void doubleClick(ControlId target);

    Form1& form_;
    std::optional<FirstPress> first_;  // a left press a second one may pair with
    bool clickArmed_ = false;          // a left press on the bare face awaits its release
    std::deque<Shown> shown_;          // what the window showed lately, oldest first
};

}  // namespace horatta
