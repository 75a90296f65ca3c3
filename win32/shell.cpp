#include "win32/shell.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "win32/look.h"
#include "window/tab_order.h"

namespace horatta::shell {

std::int16_t shiftCode() {
    return shiftBits(GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0);
}

Shell::Shell(HINSTANCE instance, Build build) : instance_(instance), skins_(instance) {
    // The desktop's density until the strip is on a screen of its own.
    services_.setDpi(dpiOf(nullptr));
    form_ = std::make_unique<Form1>(build, platform_);
    pointer_ = std::make_unique<PointerInput>(*form_);
    createWindows();
    // The screen the window was made on may have a density of its own (one changed since the
    // log-in, or not the primary screen's).
    if (const int dpi = dpiOf(form1_); dpi != services_.scale().dpi()) {
        services_.setDpi(dpi);
        sendFont();
    }
    platform_.setHotKeyWindow(form2_);
    platform_.setWindowSystem(this);

    systemTimer_.attach(form1_);
    timers_ = std::make_unique<FormTimers>(
        *form_, systemTimer_, SystemTimer::nowMs, SystemTimer::alignmentSlackMs,
        [this](std::size_t, const std::function<void()>& tick) { deliver(Kind::Tick, tick); });
}

Shell::~Shell() { platform_.setWindowSystem(nullptr); }

int Shell::run() {
    deliver(Kind::Input, [this] { form_->Form_Load(); });
    if (HWND focus = window(form_->focus().value_or(ControlId::Picture1))) SetFocus(focus);

    // The timers run once start-up has finished.
    timers_->start();

    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

std::int64_t steadyNowMs() { return static_cast<std::int64_t>(GetTickCount64()); }

std::int64_t madeAtMs(LONG messageTime) {
    // The message time is the low 32 bits of the same count, taken when the input was made.
    const std::int64_t now = steadyNowMs();
    return now - static_cast<DWORD>(static_cast<DWORD>(now) - static_cast<DWORD>(messageTime));
}

void Shell::deliver(Kind kind, std::function<void()> event) { delivery_.deliver(kind, std::move(event)); }

void Shell::shown(Kind, bool outermost) {
    render();
    if (outermost) reconcileFocus();
}

void Shell::screensChanged() {
    // During a drag the window is laid out for its screen at once; where it must lie is
    // decided once the drag is over.
    if (delivery_.running()) render();
    deliver(Kind::Screens, [this] { form_->screensChanged(); });
}

void Shell::bringToFront() {
    // Moved off its place or off every screen by something else, it comes back to the
    // model's place; during a drag the place is the drag's.
    formPlaced_.reset();
    screensChanged();
    SetWindowPos(form1_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(form1_);
    flashSince_ = steadyNowMs();
    showFlash();
}

// ---------------------------------------------------------------- showing the model

void Shell::render() {
    applyLayout();
    syncEdits();
    syncCaret();
    syncToolTip();
    syncAccessibleNames();
    pointer_->shown(steadyNowMs());
    InvalidateRect(form1_, nullptr, FALSE);
    for (auto& [id, hwnd] : children_)
        if (id != ControlId::Text1 && id != ControlId::Text2) InvalidateRect(hwnd, nullptr, FALSE);
}

void Shell::paintNow() {
    render();
    RedrawWindow(form1_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The core keeps its own idea of the focus; tell it where the keyboard actually went, once
// no event is running, and only when that is a control of its own.
void Shell::reconcileFocus() {
    if (delivery_.running() || reconciling_) return;
    reconciling_ = true;
    for (int round = 0; round < 4; ++round) {
        auto id = controlOf(GetFocus());
        if (!id || *id == ControlId::Form1 || *id == ControlId::Form2 || form_->focus() == *id) break;
        deliver(Kind::Input, [this, control = *id] { form_->focusArrived(control); });
    }
    reconciling_ = false;
}

// ---------------------------------------------------------------- messages

LRESULT CALLBACK Shell::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* shell = reinterpret_cast<Shell*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (shell) {
        if (auto id = shell->controlOf(hwnd)) return shell->handle(hwnd, *id, message, wParam, lParam);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Shell::handle(HWND hwnd, ControlId id, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT) accessibilityAsked();
    if (id == ControlId::Form1) return handleForm1(hwnd, message, wParam, lParam);
    if (id == ControlId::Form2) return handleForm2(hwnd, message, wParam, lParam);
    if (id == ControlId::Picture1 || id == ControlId::Picture2) return handlePicture(hwnd, id, message, wParam, lParam);
    if (isTimeField(id)) return handleTimeField(hwnd, id, message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A point of a window's client area, as the message has it in device pixels, in Form1's
// logical pixels, where the core hit-tests.
POINT Shell::logicalPoint(HWND from, LPARAM lParam) const {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MapWindowPoints(from, form1_, &p, 1);
    const DpiScale& scale = services_.scale();
    return POINT{scale.toLogical(p.x), scale.toLogical(p.y)};
}

// Presses and releases go to the core also while an event runs (a drag's loop dispatches
// messages): it holds them until that event has returned, and pairs and places each by the
// time it was made, not the time it is handled.
void Shell::pointerPress(HWND from, int button, LPARAM lParam) {
    const POINT p = logicalPoint(from, lParam);
    const std::int64_t time = madeAtMs(GetMessageTime());
    deliver(Kind::Input, [this, button, shift = shiftCode(), p, time] {
        // The drag a press handler may start moves with this press's button.
        const int outer = std::exchange(pressedButton_, button);
        pointer_->press(static_cast<std::int16_t>(button), shift, p.x, p.y, time);
        pressedButton_ = outer;
    });
}

void Shell::pointerRelease(HWND from, int button, LPARAM lParam) {
    const POINT p = logicalPoint(from, lParam);
    const std::int64_t time = madeAtMs(GetMessageTime());
    deliver(Kind::Input, [this, button, p, time] {
        pointer_->release(static_cast<std::int16_t>(button), p.x, p.y, time);
    });
}

// The Tab key moves the focus round the shown controls in their tab order (Shift+Tab
// backwards). True when the message was the
// Tab key's and has been dealt with.
bool Shell::tabKey(ControlId from, UINT message, WPARAM wParam) {
    if (message == WM_CHAR && wParam == VK_TAB && tabMoved_) {
        tabMoved_ = false;
        return true;
    }
    if (message != WM_KEYDOWN || wParam != VK_TAB || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
        return false;
    tabMoved_ = true;
    deliver(Kind::Input, [this, from, backwards = GetKeyState(VK_SHIFT) < 0] {
        if (const auto target = nextInTabOrder(*form_, from, backwards)) SetFocus(window(*target));
    });
    return true;
}

// ---------------------------------------------------------------- WindowSystem

void Shell::makeTopmost(ControlId which) {
    if (HWND hwnd = window(which))
        SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Shell::showWindow(ControlId which) {
    if (which == ControlId::Form2) {
        if (const Form2* form2 = form_->form2()) {
            const RECT r =
                services_.scale().toDevice(toPixelRect(form2->Left, form2->Top, form2->Width, form2->Height));
            SetWindowPos(form2_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        // Shown without taking the keyboard: a key released in it powers the computer off.
        ShowWindow(form2_, SW_SHOWNA);
        return;
    }
    if (which == ControlId::Form1) {
        applyLayout();
        ShowWindow(form1_, SW_SHOW);
        UpdateWindow(form1_);
    }
}

void Shell::setFocus(ControlId control) {
    // The event that asks for the focus may just have shown the control.
    applyLayout();
    if (HWND hwnd = window(control)) SetFocus(hwnd);
}

void Shell::endProgram() {
    // Every value the clock stores is in the registry already: each write is whole when it
    // returns. The libraries' own goodbyes at ExitProcess may wait on threads they started;
    // the clock leaves without them.
    TerminateProcess(GetCurrentProcess(), 0);
    ExitProcess(0);
}

}  // namespace horatta::shell
