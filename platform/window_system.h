#pragma once

#include "platform/platform.h"

namespace horatta {

// What the clock asks of the windows on screen. Each shell's windows answer it; the shell's
// platform hands these requests on to them.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    virtual WindowPosition dragWindow(ControlId window, WindowPosition from) = 0;
    virtual void makeTopmost(ControlId window) = 0;
    virtual void showWindow(ControlId window) = 0;
    virtual void setCaretShown(ControlId field, bool shown) = 0;
    virtual void setFocus(ControlId control) = 0;
    virtual void endProgram() = 0;
    // Puts the model on screen now, before something holds the clock's thread.
    virtual void paintNow() = 0;
};

// A platform whose window requests go to the shell's windows once they exist (before, they
// change nothing), and whose tones sound only once the tick's work is on screen.
class WindowedPlatform : public Platform {
public:
    void setWindowSystem(WindowSystem* windows) { windows_ = windows; }

    void beep(int hz, int ms) final;
    WindowPosition dragWindow(ControlId window, WindowPosition from) final;
    void makeTopmost(ControlId window) final;
    void showWindow(ControlId window) final;
    void showCaret(ControlId field) final;
    void hideCaret(ControlId field) final;
    void setFocus(ControlId control) final;
    void endProgram() final;

protected:
    // Sounds the tone and returns when it has ended.
    virtual void tone(int hz, int ms) = 0;

private:
    WindowSystem* windows_ = nullptr;
};

}  // namespace horatta
