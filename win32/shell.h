#pragma once

#include "win32/win32.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/event_delivery.h"
#include "platform/window_system.h"
#include "window/accessible_text.h"
#include "window/form1.h"
#include "window/form_timers.h"
#include "window/layout.h"
#include "window/pointer_input.h"
#include "win32/system_services.h"
#include "win32/look.h"
#include "win32/skins.h"
#include "win32/system_timer.h"
#include "win32/desktop_platform.h"

struct IAccPropServices;  // oleacc.h, which only the accessible names need

namespace horatta::shell {

// A window the shell needs could not be made: the program cannot run. The message says
// which, for the user.
struct StartFailure {
    std::wstring what;
};

// Posted to Form1: the keyboard focus moved; tell the core once no event is running.
inline constexpr UINT focusMovedMessage = WM_APP + 1;
// Posted to Form1: Form1 itself got the focus; hand it on to a control.
inline constexpr UINT restoreFocusMessage = WM_APP + 2;
// Form1's window timer of the flash; the clock's own timer has another.
inline constexpr UINT_PTR flashTimerId = 0x464C;

// Form1's window timer that gives a held-back accessible name once its interval is over.
inline constexpr UINT_PTR accessibleNameTimerId = 0x4E41;

// What screen readers were last told of the clock, once one has asked.
struct AccessibleNames {
    AccessibleNames() = default;
    ~AccessibleNames();
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;

    bool asked = false;
    ::IAccPropServices* properties = nullptr;  // where the system annotates names
    std::string name;
    std::string description;
    AnnouncePace pace;
};

// The shift keys held now, as the press and key handlers take them.
std::int16_t shiftCode();

// Milliseconds of the steady clock the presses' times and the paints are told on, and when
// input of a message time (GetMessageTime) was made, on it.
std::int64_t steadyNowMs();
std::int64_t madeAtMs(LONG messageTime);

// The Win32 shell: draws the clock window from the model, turns window messages into the
// core's events, drives the three timers and answers the platform's window requests.
//
// Form1 is a popup tool window that stays on top. Its windowed controls are child windows
// stacked as the model orders them: Picture1 and Picture2 (the face, with the labels drawn
// on Picture1), the two time fields (painted from the model, with a real caret, their
// editing done by the core), and Text1 and Text2 as native edit controls kept in step with
// the model. Label2 is drawn on the window's own surface. Form2 is the hot-key window.
// One class, a file for each of these concepts, as the Linux shell has a class for each.
class Shell : public WindowSystem {
public:
    // Throws StartFailure when a window cannot be made.
    Shell(HINSTANCE instance, Build build);
    ~Shell() override;
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    // Runs start-up, then the message loop until the program ends.
    int run();

    // The clock was started again: it comes back onto a screen at its place, in front of
    // every window, and flashes so that the user sees where it is.
    void bringToFront();

    // --- WindowSystem
    // The left button moves the window as its title bar would; the others follow the mouse.
    WindowPosition dragWindow(ControlId window, WindowPosition from) override;
    void makeTopmost(ControlId window) override;
    void showWindow(ControlId window) override;
    // The system's own caret, which exists only while the field has the keyboard.
    void setCaretShown(ControlId field, bool shown) override;
    void setFocus(ControlId control) override;
    // Ends the process at once: no message is handled after the clock has said goodbye,
    // and nothing is waited for (no thread, no library's farewell).
    void endProgram() override;
    void paintNow() override;

private:
    struct EditState {  // what a native edit control was last given or last reported
        std::string text;
        int selStart = 0;
        int selLength = 0;
        COLORREF fore = CLR_INVALID;
        COLORREF back = CLR_INVALID;
    };
    using Kind = EventDelivery::Kind;

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void registerClass(const wchar_t* name, const wchar_t* cursor, HICON icon, HICON smallIcon);
    void createWindows();
    HWND createChild(const wchar_t* windowClass, ControlId id, DWORD style, DWORD exStyle);

    LRESULT handle(HWND hwnd, ControlId id, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleForm1(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // A message by which the desktop ends the clock (a log-off, a close), answered; nothing
    // for any other.
    std::optional<LRESULT> sessionMessage(UINT message, WPARAM wParam);
    LRESULT handleForm2(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handlePicture(HWND hwnd, ControlId id, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleTimeField(HWND hwnd, ControlId id, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleEdit(HWND hwnd, ControlId id, UINT message, WPARAM wParam, LPARAM lParam);

    // Runs a core event, then shows the model. What the user does while an event is still
    // running (the drag's loop dispatches messages) waits until it is over; an event that
    // waits takes its own copies of what it needs.
    void deliver(Kind kind, std::function<void()> event);
    void shown(Kind kind, bool outermost);
    // The screens changed: the strip must still lie on one.
    void screensChanged();
    void render();
    void applyLayout();
    void syncEdits();
    void syncCaret();
    void syncToolTip();
    void accessibilityAsked();
    void syncAccessibleNames();
    void reconcileFocus();
    // Draws the strip as the flash that runs has it now, and sets the timer to its next change.
    void showFlash();

    // The strip moved to a screen of another density (or its density changed): everything
    // is drawn anew at it, the window at the place the system suggests.
    void changeDpi(int dpi, const RECT& suggested);
    void sendFont();  // the labels' font at the strip's density, to the edit controls
    POINT logicalPoint(HWND from, LPARAM lParam) const;
    RECT onSurface(ControlId label) const;

    void pullEdit(ControlId id);
    bool tabKey(ControlId from, UINT message, WPARAM wParam);
    // A mouse button went down or up in one of Form1's windows: the core decides which
    // control lies under it and which presses pair into a double-click.
    void pointerPress(HWND from, int button, LPARAM lParam);
    void pointerRelease(HWND from, int button, LPARAM lParam);
    bool followPointer(HWND window, WPARAM held, UINT release, bool untilTravel);

    void paintForm1(HDC dc, const RECT& client);
    void paintPicture(HDC dc, const RECT& client, ControlId id);
    void paintTimeField(HDC dc, const RECT& client, ControlId id);
    void drawLabel(HDC dc, const DrawnLabel& drawn);
    int caretX(ControlId field) const;
    int caretX(ControlId field, int index) const;
    int inset() const;
    HBRUSH brush(COLORREF colour) { return brushes_.get(colour); }

    HWND window(ControlId id) const;
    std::optional<ControlId> controlOf(HWND hwnd) const;
    TextBox* textBox(ControlId id);
    TimeField* timeField(ControlId id);
    bool isTimeField(ControlId id) const;

    HINSTANCE instance_;
    SystemServices services_;
    DesktopPlatform platform_{services_};
    Skins skins_;
    Brushes brushes_;
    std::unique_ptr<Form1> form_;
    std::unique_ptr<PointerInput> pointer_;

    HWND form1_ = nullptr;
    HWND form2_ = nullptr;
    HWND toolTip_ = nullptr;
    std::map<ControlId, HWND> children_;
    std::map<HWND, ControlId> ids_;
    WNDPROC editDefault_ = nullptr;

    SystemTimer systemTimer_;
    std::unique_ptr<FormTimers> timers_;
    std::map<ControlId, EditState> edits_;
    std::map<ControlId, bool> caretShown_;
    std::map<ControlId, RECT> placed_;      // the last rectangle and visibility given to each window
    std::map<ControlId, bool> shown_;
    std::optional<RECT> formPlaced_;
    std::string toolTipText_;
    AccessibleNames accessible_;
    std::optional<RECT> toolTipRect_;

    EventDelivery delivery_{[this](Kind kind, bool outermost) { shown(kind, outermost); }};
    bool reconciling_ = false;    // the core is being told where the focus went
    bool pullingEdits_ = true;    // false while the shell itself writes into an edit control
    int pressedButton_ = 0;       // the button of the press being delivered
    bool dragging_ = false;       // the window follows the pointer until the button comes up
    bool tabMoved_ = false;       // the Tab key moved the focus; its character goes nowhere
    std::int64_t flashSince_ = 0; // when the flash that runs began (steady ms)
    bool flashInverted_ = false;  // the strip is drawn inverted just now
};

}  // namespace horatta::shell
