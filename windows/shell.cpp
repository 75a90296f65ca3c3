#include "windows/shell.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "window/utf8.h"
#include "windows/resource_ids.h"
#include "windows/wide.h"

namespace horatta::win {

namespace {

constexpr wchar_t form1Class[] = L"HorattaForm1";
constexpr wchar_t form2Class[] = L"HorattaForm2";
constexpr wchar_t pictureClass[] = L"HorattaPicture";
constexpr wchar_t timeFieldClass[] = L"HorattaTimeField";

// Posted to Form1: the keyboard focus moved; tell the core once no event is running.
constexpr UINT focusMovedMessage = WM_APP + 1;
// Posted to Form1: Form1 itself got the focus; hand it on to a control.
constexpr UINT restoreFocusMessage = WM_APP + 2;

COLORREF colour(const Color& c) {
    if (c.isSystem()) return GetSysColor(c.systemIndex);
    return RGB(c.red, c.green, c.blue);
}

RECT pixelRect(float left, float top, float width, float height) {
    return RECT{toPixels(left), toPixels(top), toPixels(left + width), toPixels(top + height)};
}

RECT pixelRect(const Control& c) { return pixelRect(c.Left, c.Top, c.Width, c.Height); }

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Mouse and keyboard modifiers as the press handlers receive them: 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t shiftState() {
    std::int16_t state = 0;
    if (GetKeyState(VK_SHIFT) < 0) state |= 1;
    if (GetKeyState(VK_CONTROL) < 0) state |= 2;
    if (GetKeyState(VK_MENU) < 0) state |= 4;
    return state;
}

template <class Paint> void paintBuffered(HWND hwnd, Paint&& paint) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    if (client.right > 0 && client.bottom > 0) {
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
        HGDIOBJ old = SelectObject(memory, bitmap);
        paint(memory, client);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
    }
    EndPaint(hwnd, &ps);
}

}  // namespace

Shell::Shell(HINSTANCE instance, Build build) : instance_(instance), skins_(instance) {
    form_ = std::make_unique<Form1>(build, *this);
    pointer_ = std::make_unique<PointerInput>(*form_);
    registerClasses();
    createWindows();

    systemTimer_.attach(form1_);
    timers_ = std::make_unique<FormTimers>(
        *form_, systemTimer_, SystemTimer::nowMs, SystemTimer::alignmentSlackMs,
        [this](std::size_t, const std::function<void()>& tick) { deliver(Delivery::Timer, tick); });
}

Shell::~Shell() {
    for (auto& [c, b] : brushes_) DeleteObject(b);
}

// ---------------------------------------------------------------- windows

void Shell::registerClasses() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    // No CS_DBLCLKS: every press arrives as a press, and the core pairs them with the
    // clock's own double-click time rather than the system's.
    wc.style = 0;

    wc.lpszClassName = form1Class;
    wc.hIcon = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(HORATTA_ICON), IMAGE_ICON, 32, 32, 0));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(HORATTA_ICON), IMAGE_ICON, 16, 16, 0));
    RegisterClassExW(&wc);
    wc.hIcon = nullptr;
    wc.hIconSm = nullptr;

    wc.lpszClassName = form2Class;
    RegisterClassExW(&wc);
    wc.lpszClassName = pictureClass;
    RegisterClassExW(&wc);
    wc.lpszClassName = timeFieldClass;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32513));  // IDC_IBEAM
    RegisterClassExW(&wc);
}

HWND Shell::createChild(const wchar_t* windowClass, ControlId id, DWORD style, DWORD exStyle) {
    RECT r = pixelRect(form_->control(id));
    HWND hwnd = CreateWindowExW(exStyle, windowClass, L"", WS_CHILD | WS_CLIPSIBLINGS | style, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, form1_, nullptr, instance_, this);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(services_.font()), FALSE);
    children_[id] = hwnd;
    ids_[hwnd] = id;
    placed_[id] = r;
    shown_[id] = false;
    return hwnd;
}

void Shell::createWindows() {
    // The design rectangle; start-up places and sizes the window before it is shown.
    form1_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, form1Class, widen(form_->Caption).c_str(),
                             WS_POPUP | WS_CLIPCHILDREN, toPixels(form_->Left), toPixels(form_->Top),
                             toPixels(form_->Width), toPixels(form_->Height), nullptr, nullptr, instance_, this);
    ids_[form1_] = ControlId::Form1;

    // Form2 is a window of zero width: it shows nothing and exists to be activated by the
    // hot key. Its model appears with start-up; until then it has its design size.
    form2_ = CreateWindowExW(WS_EX_TOOLWINDOW, form2Class, L"Form2", WS_POPUP, 0, 0, 0,
                             toPixels(form_->build() == Build::Masked ? 3600.0f : 1395.0f), nullptr, nullptr,
                             instance_, this);
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
    toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form1_, nullptr, instance_,
                               nullptr);
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

TextBox* Shell::textBox(ControlId id) {
    if (id == ControlId::Text1) return &form_->Text1;
    if (id == ControlId::Text2) return &form_->Text2;
    return nullptr;
}

bool Shell::isTimeField(ControlId id) const {
    return id == form_->shutdownFieldId() || id == form_->reminderFieldId();
}

TimeField* Shell::timeField(ControlId id) {
    if (id == form_->shutdownFieldId()) return &form_->shutdownField();
    if (id == form_->reminderFieldId()) return &form_->reminderField();
    return nullptr;
}

HBRUSH Shell::brush(COLORREF c) {
    auto it = brushes_.find(c);
    if (it != brushes_.end()) return it->second;
    return brushes_[c] = CreateSolidBrush(c);
}

// ---------------------------------------------------------------- run

int Shell::run() {
    deliver(Delivery::Input, [&] { form_->Form_Load(); });
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

template <class Event> void Shell::deliver(Delivery kind, Event&& event) {
    if (depth_ > 0 && kind == Delivery::Input) return;
    ++depth_;
    event();
    --depth_;
    render();
    if (depth_ == 0) reconcileFocus();
}

// ---------------------------------------------------------------- showing the model

void Shell::render() {
    applyLayout();
    syncEdits();
    syncCaret();
    syncToolTip();
    InvalidateRect(form1_, nullptr, FALSE);
    for (auto& [id, hwnd] : children_)
        if (id != ControlId::Text1 && id != ControlId::Text2) InvalidateRect(hwnd, nullptr, FALSE);
}

void Shell::beep(int hz, int ms) {
    // The tone holds the tick: what the tick has set reaches the screen first, not a tone late.
    render();
    RedrawWindow(form1_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    services_.beep(hz, ms);
}

void Shell::applyLayout() {
    RECT form = pixelRect(form_->Left, form_->Top, form_->Width, form_->Height);
    if (!formPlaced_ || !sameRect(*formPlaced_, form)) {
        SetWindowPos(form1_, nullptr, form.left, form.top, form.right - form.left, form.bottom - form.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        formPlaced_ = form;
    }
    for (auto& [id, hwnd] : children_) {
        const Control& c = form_->control(id);
        RECT r = pixelRect(c);
        if (!sameRect(placed_[id], r)) {
            SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            placed_[id] = r;
        }
        if (shown_[id] != c.Visible) {
            ShowWindow(hwnd, c.Visible ? SW_SHOWNA : SW_HIDE);
            shown_[id] = c.Visible;
        }
    }
}

void Shell::syncEdits() {
    for (auto& [id, state] : edits_) {
        TextBox& box = *textBox(id);
        HWND hwnd = window(id);
        const bool textChanged = box.Text != state.text;
        if (textChanged) {
            pullingEdits_ = false;
            SetWindowTextW(hwnd, widen(box.Text).c_str());
            pullingEdits_ = true;
            state.text = box.Text;
        }
        if (textChanged || box.SelStart != state.selStart || box.SelLength != state.selLength) {
            std::wstring text = widen(box.Text);
            const int start = std::max(box.SelStart, 0);
            const int end = start + std::max(box.SelLength, 0);
            SendMessageW(hwnd, EM_SETSEL, static_cast<WPARAM>(unitsBefore(text, start)),
                         static_cast<LPARAM>(unitsBefore(text, end)));
            state.selStart = box.SelStart;
            state.selLength = box.SelLength;
        }
        // The edit control asks for its colours when it paints; a change needs a repaint.
        if (colour(box.ForeColor) != state.fore || colour(box.BackColor) != state.back) {
            state.fore = colour(box.ForeColor);
            state.back = colour(box.BackColor);
            InvalidateRect(hwnd, nullptr, TRUE);
        }
    }
}

void Shell::pullEdit(ControlId id) {
    TextBox* box = textBox(id);
    if (!box || !pullingEdits_) return;
    HWND hwnd = window(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    DWORD start = 0, end = 0;
    SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EditState& state = edits_[id];
    state.text = box->Text = narrow(text);
    state.selStart = box->SelStart = charactersBefore(text, static_cast<int>(start));
    state.selLength = box->SelLength = charactersBefore(text, static_cast<int>(end)) - box->SelStart;
}

int Shell::caretX(ControlId id) const { return caretX(id, const_cast<Shell*>(this)->timeField(id)->selStart()); }

int Shell::caretX(ControlId id, int index) const {
    const TimeField* field = const_cast<Shell*>(this)->timeField(id);
    if (!field) return 0;
    const std::string text = field->text();
    const std::size_t bytes = utf8::offset(text, static_cast<std::size_t>(std::max(index, 0)));
    const std::wstring before = widen(std::string_view(text).substr(0, bytes));
    HDC dc = GetDC(window(id));
    HGDIOBJ old = SelectObject(dc, services_.font());
    SIZE size{};
    GetTextExtentPoint32W(dc, before.c_str(), static_cast<int>(before.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window(id), dc);
    return 1 + size.cx;
}

void Shell::syncCaret() {
    auto id = controlOf(GetFocus());
    if (!id || !isTimeField(*id)) return;
    SetCaretPos(caretX(*id), 1);
}

void Shell::syncToolTip() {
    const Label& label = form_->Label1;
    RECT rect = label.Visible ? pixelRect(label) : RECT{0, 0, 0, 0};
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

// The core keeps its own idea of the focus; tell it where the keyboard actually went, once
// no event is running, and only when that is a control of its own.
void Shell::reconcileFocus() {
    for (int round = 0; round < 4 && depth_ == 0; ++round) {
        auto id = controlOf(GetFocus());
        if (!id || *id == ControlId::Form1 || *id == ControlId::Form2 || form_->focus() == *id) return;
        ++depth_;
        form_->focusArrived(*id);
        --depth_;
        render();
    }
}

// ---------------------------------------------------------------- painting

void Shell::drawLabel(HDC dc, const Label& label, POINT origin) {
    if (!label.Visible || label.caption().empty()) return;
    RECT r = pixelRect(label);
    OffsetRect(&r, origin.x, origin.y);
    std::wstring text = widen(label.caption());
    UINT format = DT_NOPREFIX | (label.autoSize() ? DT_SINGLELINE : DT_WORDBREAK);
    switch (label.alignment) {
        case Alignment::Left: format |= DT_LEFT; break;
        case Alignment::Right: format |= DT_RIGHT; break;
        case Alignment::Center: format |= DT_CENTER; break;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour(label.ForeColor));
    HGDIOBJ old = SelectObject(dc, services_.font());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    SelectObject(dc, old);
}

void Shell::paintForm1(HDC dc, const RECT& client) {
    FillRect(dc, &client, brush(colour(form_->BackColor)));
    drawLabel(dc, form_->Label2, {0, 0});
}

void Shell::paintPicture(HDC dc, const RECT& client, ControlId id) {
    const PictureBox& box = form_->pictureBox(id);
    FillRect(dc, &client, brush(colour(box.BackColor)));
    if (const Bitmap* skin = skins_.get(box.Picture)) {
        // At its own size from the top-left corner: a larger skin is cut at the edges.
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, skin->handle);
        BitBlt(dc, 0, 0, skin->width, skin->height, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    }
    if (id == ControlId::Picture1) {
        drawLabel(dc, form_->Label1, {0, 0});
        drawLabel(dc, form_->Label3, {0, 0});
    }
}

void Shell::paintTimeField(HDC dc, const RECT& client, ControlId id) {
    const TimeField& field = *timeField(id);
    FillRect(dc, &client, brush(colour(field.BackColor)));
    std::wstring text = widen(field.text());
    RECT r = client;
    r.left += 1;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour(field.ForeColor));
    HGDIOBJ old = SelectObject(dc, services_.font());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
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

LRESULT CALLBACK Shell::editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* shell = reinterpret_cast<Shell*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    auto id = shell->controlOf(hwnd);
    if (!id) return CallWindowProcW(shell->editDefault_, hwnd, message, wParam, lParam);
    return shell->handleEdit(hwnd, *id, message, wParam, lParam);
}

LRESULT Shell::handle(HWND hwnd, ControlId id, UINT message, WPARAM wParam, LPARAM lParam) {
    if (id == ControlId::Form1) return handleForm1(hwnd, message, wParam, lParam);
    if (id == ControlId::Form2) return handleForm2(hwnd, message, wParam, lParam);
    if (id == ControlId::Picture1 || id == ControlId::Picture2) return handlePicture(hwnd, id, message, wParam, lParam);
    if (isTimeField(id)) return handleTimeField(hwnd, id, message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Shell::handleForm1(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paintBuffered(hwnd, [&](HDC dc, const RECT& client) { paintForm1(dc, client); });
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_TIMER:
            if (systemTimer_.wentOff(wParam)) timers_->fired();
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
        case WM_CLOSE:
            return 0;  // the clock is left only by its own gesture
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Shell::handleForm2(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (Form2* form2 = form_->form2()) {
                const auto key = static_cast<std::int16_t>(wParam);
                const auto shift = shiftState();
                deliver(Delivery::Input, [&] { form2->Form_KeyUp(key, shift); });
            }
            return 0;
        case WM_PAINT:
            paintBuffered(hwnd, [&](HDC dc, const RECT& client) {
                const Form2* form2 = form_->form2();
                FillRect(dc, &client, brush(form2 ? colour(form2->BackColor) : RGB(192, 0, 0)));
            });
            return 0;
        // Zero width already leaves no pixel to click; should a system give it one, the
        // pointer still goes through it and never activates it. Only the hot key (and the
        // system's own window switching) may give it the keyboard.
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATEANDEAT;
        case WM_CLOSE:
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Shell::pointerPress(HWND from, int button, LPARAM lParam) {
    if (depth_ > 0) return;
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MapWindowPoints(from, form1_, &p, 1);
    // The time the press was made, not the time it is handled.
    const auto time = static_cast<std::int64_t>(static_cast<DWORD>(GetMessageTime()));
    const auto code = static_cast<std::int16_t>(button);
    const auto shift = shiftState();
    pressedButton_ = button;  // the drag a press handler may start moves with this button
    deliver(Delivery::Input, [&] { pointer_->press(code, shift, p.x, p.y, time); });
    pressedButton_ = 0;
}

void Shell::pointerRelease(HWND from, int button, LPARAM lParam) {
    if (depth_ > 0) return;
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MapWindowPoints(from, form1_, &p, 1);
    deliver(Delivery::Input, [&] { pointer_->release(static_cast<std::int16_t>(button), p.x, p.y); });
}

LRESULT Shell::handlePicture(HWND hwnd, ControlId id, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paintBuffered(hwnd, [&](HDC dc, const RECT& client) { paintPicture(dc, client, id); });
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
            if (depth_ > 0) return 0;
            if (GetFocus() != hwnd) SetFocus(hwnd);
            SetCapture(hwnd);  // the release comes back here wherever it happens
            pointerPress(hwnd, buttonLeft, lParam);
            return 0;
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (depth_ > 0) return 0;
            if (GetFocus() != hwnd) SetFocus(hwnd);
            pointerPress(hwnd, message == WM_RBUTTONDOWN ? buttonRight : buttonMiddle, lParam);
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == hwnd) ReleaseCapture();
            pointerRelease(hwnd, buttonLeft, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            // Another window took the pointer: the release will not come here.
            if (lParam != 0 && !controlOf(reinterpret_cast<HWND>(lParam))) pointer_->cancel();
            return 0;
        case WM_SETFOCUS:
            PostMessageW(form1_, focusMovedMessage, 0, 0);
            return 0;
        case WM_KEYDOWN:
        case WM_CHAR:
            if (tabKey(id, message, wParam)) return 0;
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Shell::handleTimeField(HWND hwnd, ControlId id, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paintBuffered(hwnd, [&](HDC dc, const RECT& client) { paintTimeField(dc, client, id); });
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (depth_ > 0) return 0;
            if (GetFocus() != hwnd) SetFocus(hwnd);
            // The caret goes to the character boundary nearest the press.
            TimeField& field = *timeField(id);
            const int x = GET_X_LPARAM(lParam);
            const int length = static_cast<int>(utf8::length(field.text()));
            int best = 0, bestDistance = 1 << 30;
            for (int i = 0; i <= length; ++i) {
                const int distance = std::abs(caretX(id, i) - x);
                if (distance < bestDistance) best = i, bestDistance = distance;
            }
            field.setSelStart(best);
            render();
            pointerPress(hwnd, buttonLeft, lParam);
            return 0;
        }
        case WM_CHAR: {
            if (tabKey(id, message, wParam)) return 0;
            const auto key = static_cast<std::int16_t>(wParam);
            deliver(Delivery::Input, [&] { form_->timeFieldKeyPress(id, key); });
            return 0;
        }
        case WM_KEYDOWN: {
            if (tabKey(id, message, wParam)) return 0;
            std::optional<EditKey> key;
            switch (wParam) {
                case VK_LEFT: key = EditKey::Left; break;
                case VK_RIGHT: key = EditKey::Right; break;
                case VK_HOME: key = EditKey::Home; break;
                case VK_END: key = EditKey::End; break;
                case VK_DELETE: key = EditKey::Delete; break;
                default: break;
            }
            if (key) deliver(Delivery::Input, [&] { form_->timeFieldEditKey(id, *key); });
            return 0;
        }
        case WM_SETFOCUS: {
            RECT client;
            GetClientRect(hwnd, &client);
            TEXTMETRICW metrics{};
            HDC dc = GetDC(hwnd);
            HGDIOBJ old = SelectObject(dc, services_.font());
            GetTextMetricsW(dc, &metrics);
            SelectObject(dc, old);
            ReleaseDC(hwnd, dc);
            CreateCaret(hwnd, nullptr, 1, std::min<int>(metrics.tmHeight, client.bottom));
            SetCaretPos(caretX(id), 1);
            ShowCaret(hwnd);
            caretShown_[id] = true;
            PostMessageW(form1_, focusMovedMessage, 0, 0);
            return 0;
        }
        case WM_KILLFOCUS:
            DestroyCaret();
            caretShown_[id] = false;
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Shell::handleEdit(HWND hwnd, ControlId id, UINT message, WPARAM wParam, LPARAM lParam) {
    if (tabKey(id, message, wParam)) return 0;
    switch (message) {
        case WM_CHAR: {
            auto key = static_cast<std::int16_t>(wParam);
            const auto typed = key;
            deliver(Delivery::Input, [&] {
                if (id == ControlId::Text1) form_->Text1_KeyPress(key);
                else form_->Text2_KeyPress(key);
            });
            if (key == 0 || !IsWindow(hwnd)) return 0;  // swallowed
            const WPARAM passed = key == typed ? wParam : static_cast<WPARAM>(static_cast<std::uint16_t>(key));
            LRESULT result = CallWindowProcW(editDefault_, hwnd, message, passed, lParam);
            pullEdit(id);
            return result;
        }
        // The field selects as fields do; whether a press is a double-click for the clock
        // is the core's to decide, with its own double-click time.
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            LRESULT result = CallWindowProcW(editDefault_, hwnd, message, wParam, lParam);
            pullEdit(id);
            const int button = message == WM_RBUTTONDOWN   ? buttonRight
                               : message == WM_MBUTTONDOWN ? buttonMiddle
                                                           : buttonLeft;
            if (IsWindow(hwnd)) pointerPress(hwnd, button, lParam);
            return result;
        }
        case WM_LBUTTONUP: {
            LRESULT result = CallWindowProcW(editDefault_, hwnd, message, wParam, lParam);
            pullEdit(id);
            pointerRelease(hwnd, buttonLeft, lParam);
            return result;
        }
        case WM_SETFOCUS: {
            LRESULT result = CallWindowProcW(editDefault_, hwnd, message, wParam, lParam);
            PostMessageW(form1_, focusMovedMessage, 0, 0);
            return result;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_MOUSEMOVE: {
            // The selection moves without a notification of its own.
            LRESULT result = CallWindowProcW(editDefault_, hwnd, message, wParam, lParam);
            pullEdit(id);
            return result;
        }
        default:
            break;
    }
    return CallWindowProcW(editDefault_, hwnd, message, wParam, lParam);
}

// The Tab key moves the focus through the shown controls in their tab order (Shift+Tab
// backwards); controls without a tab index are skipped. True when the message was the
// Tab key's and has been dealt with.
bool Shell::tabKey(ControlId from, UINT message, WPARAM wParam) {
    if (message == WM_CHAR && wParam == VK_TAB && tabMoved_) {
        tabMoved_ = false;
        return true;
    }
    if (message != WM_KEYDOWN || wParam != VK_TAB || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
        return false;
    if (depth_ > 0) return true;
    std::vector<std::pair<int, ControlId>> order;
    for (auto& [id, hwnd] : children_) {
        const Control& c = form_->control(id);
        if (c.TabIndex >= 0 && c.Visible) order.emplace_back(c.TabIndex, id);
    }
    std::sort(order.begin(), order.end());
    if (order.empty()) return true;
    const int fromIndex = form_->control(from).TabIndex;
    const bool backwards = GetKeyState(VK_SHIFT) < 0;
    ControlId target = backwards ? order.back().second : order.front().second;
    if (backwards) {
        for (auto it = order.rbegin(); it != order.rend(); ++it)
            if (it->first < fromIndex) { target = it->second; break; }
    } else {
        for (const auto& [index, id] : order)
            if (index > fromIndex) { target = id; break; }
    }
    tabMoved_ = true;
    SetFocus(window(target));
    return true;
}

// ---------------------------------------------------------------- Platform: window system

WindowPosition Shell::dragWindow(ControlId which, WindowPosition from) {
    HWND hwnd = window(which);
    if (!hwnd) return from;
    if (pressedButton_ == buttonLeft) {
        // The system's own move, as for a press on a title bar; it returns on release.
        ReleaseCapture();
        SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    } else if (pressedButton_ == buttonRight) {
        followMouse(hwnd, VK_RBUTTON);
    } else if (pressedButton_ == buttonMiddle) {
        followMouse(hwnd, VK_MBUTTON);
    }
    RECT r;
    GetWindowRect(hwnd, &r);
    if (r.left == toPixels(from.left) && r.top == toPixels(from.top)) return from;
    return WindowPosition{static_cast<float>(r.left * twipsPerPixel), static_cast<float>(r.top * twipsPerPixel)};
}

// The system moves a window only with the left button; the other buttons get the same
// move here: the window follows the mouse until the button is released (Escape puts it back).
WindowPosition Shell::followMouse(HWND hwnd, int virtualKey) {
    const UINT release = virtualKey == VK_RBUTTON ? WM_RBUTTONUP : WM_MBUTTONUP;
    const WPARAM held = virtualKey == VK_RBUTTON ? MK_RBUTTON : MK_MBUTTON;
    POINT start;
    GetCursorPos(&start);
    RECT origin;
    GetWindowRect(hwnd, &origin);
    SetCapture(hwnd);
    MSG msg;
    while (GetCapture() == hwnd) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == release) break;
        if (msg.message == WM_MOUSEMOVE) {
            if (!(msg.wParam & held)) break;
            POINT p;
            GetCursorPos(&p);
            SetWindowPos(hwnd, nullptr, origin.left + p.x - start.x, origin.top + p.y - start.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            continue;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            SetWindowPos(hwnd, nullptr, origin.left, origin.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        if ((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
            (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST))
            continue;  // the move owns the mouse and keyboard
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (GetCapture() == hwnd) ReleaseCapture();
    RECT r;
    GetWindowRect(hwnd, &r);
    return WindowPosition{static_cast<float>(r.left * twipsPerPixel), static_cast<float>(r.top * twipsPerPixel)};
}

void Shell::makeTopmost(ControlId which) {
    if (HWND hwnd = window(which))
        SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Shell::showWindow(ControlId which) {
    if (which == ControlId::Form2) {
        if (const Form2* form2 = form_->form2()) {
            RECT r = pixelRect(form2->Left, form2->Top, form2->Width, form2->Height);
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

void Shell::showCaret(ControlId field) {
    HWND hwnd = window(field);
    if (!hwnd || GetFocus() != hwnd || caretShown_[field]) return;
    SetCaretPos(caretX(field), 1);
    ShowCaret(hwnd);
    caretShown_[field] = true;
}

void Shell::hideCaret(ControlId field) {
    HWND hwnd = window(field);
    if (!hwnd || GetFocus() != hwnd || !caretShown_[field]) return;
    HideCaret(hwnd);
    caretShown_[field] = false;
}

void Shell::setFocus(ControlId control) {
    // The event that asks for the focus may just have shown the control.
    applyLayout();
    if (HWND hwnd = window(control)) SetFocus(hwnd);
}

void Shell::endProgram() { ExitProcess(0); }

void Shell::enableShutdownPrivilege() {
    const bool enabled = Services::enableShutdownPrivilege();
    services_.recordPowerCall(std::string("EnableShutdownPrivilege ") + (enabled ? "enabled" : "refused"));
}

void Shell::setHotKey(ControlId which, std::int32_t value) {
    if (HWND hwnd = window(which)) SendMessageW(hwnd, WM_SETHOTKEY, static_cast<WPARAM>(value), 0);
}

}  // namespace horatta::win
