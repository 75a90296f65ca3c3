#include "win32/shell.h"

#include <commctrl.h>

#include "platform/attention_flash.h"

#include "win32/look.h"
#include "win32/resource_ids.h"
#include "win32/single_instance.h"
#include "win32/wide.h"

namespace horatta::shell {

namespace {

constexpr const wchar_t* form1Class = clockWindowClass;
constexpr wchar_t form2Class[] = L"HorattaForm2";
constexpr wchar_t pictureClass[] = L"HorattaPicture";
constexpr wchar_t timeFieldClass[] = L"HorattaTimeField";
const wchar_t* const arrow = MAKEINTRESOURCEW(32512);     // IDC_ARROW
const wchar_t* const textBeam = MAKEINTRESOURCEW(32513);  // IDC_IBEAM

HWND made(HWND hwnd, const wchar_t* what) {
    if (!hwnd) throw StartFailure{std::wstring(L"The ") + what + L" could not be made."};
    return hwnd;
}

}  // namespace

// No CS_DBLCLKS: every press arrives as a press, and the core pairs them with the clock's
// own double-click time rather than the system's.
void Shell::registerClass(const wchar_t* name, const wchar_t* cursor, HICON icon, HICON smallIcon) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, cursor);
    wc.hIcon = icon;
    wc.hIconSm = smallIcon;
    wc.lpszClassName = name;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw StartFailure{std::wstring(L"The window class ") + name + L" could not be registered."};
}

HWND Shell::createChild(const wchar_t* windowClass, ControlId id, DWORD style, DWORD exStyle) {
    // Placed when the model first shows.
    const RECT r{0, 0, 0, 0};
    HWND hwnd = made(CreateWindowExW(exStyle, windowClass, L"", WS_CHILD | WS_CLIPSIBLINGS | style, r.left, r.top,
                                     r.right - r.left, r.bottom - r.top, form1_, nullptr, instance_, this),
                     widen(controlName(id)).c_str());
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(services_.font()), FALSE);
    children_[id] = hwnd;
    ids_[hwnd] = id;
    placed_[id] = r;
    shown_[id] = false;
    return hwnd;
}

void Shell::createWindows() {
    auto icon = [&](int size) {
        return static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(HORATTA_ICON), IMAGE_ICON, size, size, 0));
    };
    registerClass(form1Class, arrow, icon(32), icon(16));
    registerClass(form2Class, arrow, nullptr, nullptr);
    registerClass(pictureClass, arrow, nullptr, nullptr);
    registerClass(timeFieldClass, textBeam, nullptr, nullptr);

    // The design rectangle; start-up places and sizes the window before it is shown.
    const PixelRect design = Layout(*form_).window();
    form1_ = made(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, form1Class, widen(form_->Caption).c_str(),
                                  WS_POPUP | WS_CLIPCHILDREN, design.left, design.top, design.width, design.height,
                                  nullptr, nullptr, instance_, this),
                  L"clock window");
    ids_[form1_] = ControlId::Form1;

    // Form2 is a window of zero width: it shows nothing and exists to be activated by the
    // hot key. Its model appears with start-up; until then it has its design size.
    form2_ = made(CreateWindowExW(WS_EX_TOOLWINDOW, form2Class, L"Form2", WS_POPUP, 0, 0, 0,
                                  services_.scale().toDevice(toPixels(Form2::heightFor(form_->build()))),
                                  nullptr, nullptr,
                                  instance_, this),
                  L"hot-key window");
    ids_[form2_] = ControlId::Form2;

    createChild(pictureClass, ControlId::Picture2, 0, 0);
    createChild(pictureClass, ControlId::Picture1, 0, 0);
    createChild(timeFieldClass, form_->shutdownFieldId(), 0, 0);
    createChild(timeFieldClass, form_->reminderFieldId(), 0, 0);
    for (ControlId id : {ControlId::Text1, ControlId::Text2}) {
        HWND edit = createChild(L"EDIT", id, ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
        SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);  // the largest there is: the memo is kept whole
        SetWindowLongPtrW(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        editDefault_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Shell::editProc)));
        edits_[id] = EditState{};
    }

    // Front to back, as the model stacks its windowed controls.
    HWND after = HWND_TOP;
    for (ControlId id : form_->stackingOrder()) {
        HWND hwnd = window(id);
        if (!hwnd) continue;
        SetWindowPos(hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = hwnd;
    }

    // The date as the tool-tip of the time text.
    toolTip_ = made(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form1_, nullptr,
                                    instance_, nullptr),
                    L"date tool-tip");
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window(ControlId::Picture1);
    tool.uId = 1;
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

HWND Shell::window(ControlId id) const {
    if (id == ControlId::Form1) return form1_;
    if (id == ControlId::Form2) return form2_;
    auto it = children_.find(id);
    return it == children_.end() ? nullptr : it->second;
}

std::optional<ControlId> Shell::controlOf(HWND hwnd) const {
    auto it = ids_.find(hwnd);
    if (it == ids_.end()) return std::nullopt;
    return it->second;
}

void Shell::applyLayout() {
    const Layout layout(*form_);
    const DpiScale& scale = services_.scale();
    // Sized apart from its position, as the core's window is: a drag never changes its size.
    const PixelRect strip = layout.window();
    const int left = scale.toDevice(strip.left), top = scale.toDevice(strip.top);
    const RECT form{left, top, left + scale.toDevice(strip.width), top + scale.toDevice(strip.height)};
    if (!formPlaced_ || !sameRect(*formPlaced_, form)) {
        SetWindowPos(form1_, nullptr, form.left, form.top, form.right - form.left, form.bottom - form.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        formPlaced_ = form;
    }
    for (const Placement& control : layout.controls()) {
        const ControlId id = control.id;
        HWND hwnd = window(id);
        const RECT r = scale.toDevice(control.rect);
        if (!sameRect(placed_[id], r)) {
            SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            placed_[id] = r;
        }
        if (shown_[id] != control.visible) {
            ShowWindow(hwnd, control.visible ? SW_SHOWNA : SW_HIDE);
            shown_[id] = control.visible;
        }
    }
}

void Shell::syncToolTip() {
    const Label& label = form_->Label1;
    RECT rect = label.Visible ? onSurface(ControlId::Label1) : RECT{0, 0, 0, 0};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = window(ControlId::Picture1);
    tool.uId = 1;
    if (!toolTipRect_ || !sameRect(*toolTipRect_, rect)) {
        tool.rect = rect;
        SendMessageW(toolTip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        toolTipRect_ = rect;
    }
    if (label.ToolTipText != toolTipText_) {
        std::wstring text = widen(label.ToolTipText);
        tool.lpszText = text.data();
        SendMessageW(toolTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        toolTipText_ = label.ToolTipText;
    }
}

// A label's device rectangle on the surface it is drawn on, mapped from where it lies in the
// window: there the core hit-tests it, and there the surface's own edges were rounded.
RECT Shell::onSurface(ControlId label) const {
    const Layout layout(*form_);
    RECT r = services_.scale().toDevice(layout.labelRectInWindow(label));
    const auto face = placed_.find(ControlId::Picture1);
    if (label != ControlId::Label2 && face != placed_.end()) OffsetRect(&r, -face->second.left, -face->second.top);
    return r;
}

void Shell::showFlash() {
    KillTimer(form1_, flashTimerId);
    const std::int64_t elapsed = steadyNowMs() - flashSince_;
    const std::optional<bool> inverted = AttentionFlash::invertedAt(elapsed);
    if (inverted.value_or(false) != flashInverted_) {
        flashInverted_ = inverted.value_or(false);
        RedrawWindow(form1_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
    if (inverted) SetTimer(form1_, flashTimerId, static_cast<UINT>(AttentionFlash::nextChangeInMs(elapsed)), nullptr);
}

void Shell::paintForm1(HDC dc, const RECT& client) {
    FillRect(dc, &client, brush(colour(form_->BackColor)));
    for (const DrawnLabel& label : Layout(*form_).labelsOn(ControlId::Form1)) drawLabel(dc, label);
}

LRESULT Shell::handleForm1(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == bringToFrontMessage() && message != 0) {
        bringToFront();
        return bringToFrontAnswer;
    }
    if (const std::optional<LRESULT> answered = sessionMessage(message, wParam)) return *answered;
    switch (message) {
        case WM_PAINT:
            paintBuffered(hwnd, [&](HDC dc, const RECT& client) { paintForm1(dc, client); }, flashInverted_);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_TIMER:
            if (systemTimer_.wentOff(wParam)) timers_->fired();
            if (wParam == flashTimerId) showFlash();
            if (wParam == accessibleNameTimerId) syncAccessibleNames();
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == EN_CHANGE) {
                if (auto id = controlOf(reinterpret_cast<HWND>(lParam))) pullEdit(*id);
            }
            return 0;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            if (auto id = controlOf(reinterpret_cast<HWND>(lParam))) {
                if (TextBox* box = textBox(*id)) {
                    HDC dc = reinterpret_cast<HDC>(wParam);
                    SetTextColor(dc, colour(box->ForeColor));
                    SetBkColor(dc, colour(box->BackColor));
                    return reinterpret_cast<LRESULT>(brush(colour(box->BackColor)));
                }
            }
            break;
        case WM_SETFOCUS:
            PostMessageW(hwnd, restoreFocusMessage, 0, 0);
            return 0;
        case restoreFocusMessage:
            // The window got the keyboard (activation, or a focused control was hidden):
            // give it to the control the core has focused, or to the face.
            if (GetFocus() == hwnd) {
                HWND target = window(form_->focus().value_or(ControlId::Picture1));
                if (!target || target == hwnd || !IsWindowVisible(target)) target = window(ControlId::Picture1);
                SetFocus(target);
            }
            return 0;
        case focusMovedMessage:
            reconcileFocus();
            return 0;
        case WM_DPICHANGED:
            changeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DISPLAYCHANGE:
            // A screen went away, shrank or moved: the strip must still lie on one.
            screensChanged();
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace horatta::shell
