#include "window/pointer_input.h"

#include <cstdlib>
#include <iterator>

#include "window/form1.h"
#include "window/layout.h"

namespace horatta {

namespace {

// How long what the window showed is kept for presses handled late: longer than any tone.
constexpr std::int64_t shownKeptMs = 3000;
constexpr std::size_t shownKeptAtMost = 64;  // a scrolling face paints twenty times a second

}  // namespace

PointerInput::PointerInput(Form1& form) : form_(form) {}

ControlId PointerInput::controlAt(int x, int y) const { return Layout(form_).controlAt(x, y); }

ControlId PointerInput::controlAt(int x, int y, std::int64_t timeMs) const {
    // Made since the last paint: the window shows the model as it is.
    if (shown_.empty() || timeMs >= shown_.back().fromMs) return controlAt(x, y);
    auto it = shown_.rbegin();
    while (std::next(it) != shown_.rend() && it->fromMs > timeMs) ++it;
    return it->map.controlAt(x, y);
}

void PointerInput::shown(std::int64_t timeMs) {
    HitMap map = Layout(form_).hitMap();
    if (!shown_.empty() && shown_.back().map == map) return;
    shown_.push_back({timeMs, std::move(map)});
    // What was on screen until the oldest press that can still come in stays.
    while (shown_.size() > shownKeptAtMost || (shown_.size() > 1 && shown_[1].fromMs <= timeMs - shownKeptMs))
        shown_.pop_front();
}

bool PointerInput::pairs(int x, int y, std::int64_t timeMs) const {
    if (!first_) return false;
    const std::int64_t since = timeMs - first_->timeMs;
    return since >= 0 && since <= doubleClickTimeMs && std::abs(x - first_->x) <= doubleClickSlop &&
           std::abs(y - first_->y) <= doubleClickSlop;
}

void PointerInput::press(std::int16_t button, std::int16_t shift, int x, int y, std::int64_t timeMs) {
    handlePress({button, shift, x, y, timeMs});
}

void PointerInput::release(std::int16_t button, int x, int y, std::int64_t timeMs) {
    handleRelease({.button = button, .x = x, .y = y, .timeMs = timeMs});
}

void PointerInput::handlePress(const Event& e) {
    const ControlId target = controlAt(e.x, e.y, e.timeMs);
    clickArmed_ = false;
    if (e.button == buttonLeft && pairs(e.x, e.y, e.timeMs)) {
        first_.reset();
        doubleClick(target);
        return;
    }
    // Only the left button has double-clicks; any other press ends a pair in the making.
    if (e.button == buttonLeft) first_ = FirstPress{e.timeMs, e.x, e.y};
    else first_.reset();
    mouseDown(target, e.button, e.shift, e.x, e.y);
}

void PointerInput::mouseDown(ControlId target, std::int16_t button, std::int16_t shift, int x, int y) {
    const float left = form_.Left;
    const float top = form_.Top;
    if (target == ControlId::Label1 || target == ControlId::Label3) {
        const PixelRect r = Layout(form_).labelRectInWindow(target);
        const float tx = toTwips(x - r.left, form_.platform().twipsPerPixelX());
        const float ty = toTwips(y - r.top, form_.platform().twipsPerPixelY());
        if (target == ControlId::Label1) form_.Label1_MouseDown(button, shift, tx, ty);
        else form_.Label3_MouseDown(button, shift, tx, ty);
    } else if (target == ControlId::Picture1 && button == buttonLeft) {
        clickArmed_ = true;  // the face has no press handler: its Click comes on release
    }
    // A press that moved the window was a drag: the next press starts afresh.
    if (form_.Left != left || form_.Top != top) first_.reset();
}

void PointerInput::doubleClick(ControlId target) {
    switch (target) {
        case ControlId::Label1: form_.Label1_DblClick(); break;
        case ControlId::Label3: form_.Label3_DblClick(); break;
        case ControlId::Picture1: form_.Picture1_DblClick(); break;
        case ControlId::Picture2: form_.Picture2_DblClick(); break;
        case ControlId::Text1: form_.Text1_DblClick(); break;
        case ControlId::Text2: form_.Text2_DblClick(); break;
        default: break;  // the time fields and the window's own surface have none
    }
}

void PointerInput::handleRelease(const Event& e) {
    if (e.button != buttonLeft) return;
    // The pointer travelled while the button was down: a drag, not the first of a pair.
    if (first_ && (std::abs(e.x - first_->x) > doubleClickSlop || std::abs(e.y - first_->y) > doubleClickSlop))
        first_.reset();
    if (!clickArmed_) return;
    clickArmed_ = false;
    if (controlAt(e.x, e.y, e.timeMs) != ControlId::Picture1) return;
    form_.Picture1_Click();
}

void PointerInput::cancel() {
    clickArmed_ = false;
    first_.reset();
}

}  // namespace horatta
