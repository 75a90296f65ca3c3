#include "window/pointer_input.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "window/form1.h"

namespace horatta {

namespace {

int toPixels(float twips, int twipsPerPixel) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / std::max(twipsPerPixel, 1)));
}

bool contains(const PixelRect& r, int x, int y) {
    return x >= r.left && y >= r.top && x < r.left + r.width && y < r.top + r.height;
}

// Clears a flag when the scope ends, however it ends.
struct Running {
    explicit Running(bool& flag) : flag_(flag) { flag_ = true; }
    ~Running() { flag_ = false; }
    bool& flag_;
};

}  // namespace

PointerInput::PointerInput(Form1& form) : form_(form) {}

// Edge by edge, as the shells place their windows, so that neighbours meet without a gap.
PixelRect PointerInput::rectOf(float left, float top, float width, float height) const {
    const int tppX = form_.platform().twipsPerPixelX();
    const int tppY = form_.platform().twipsPerPixelY();
    const int l = toPixels(left, tppX);
    const int t = toPixels(top, tppY);
    return {l, t, toPixels(left + width, tppX) - l, toPixels(top + height, tppY) - t};
}

PixelRect PointerInput::labelRect(ControlId id) const {
    const PictureBox& face = form_.Picture1;
    const Control& label = form_.control(id);
    return rectOf(face.Left + label.Left, face.Top + label.Top, label.Width, label.Height);
}

ControlId PointerInput::controlAt(int x, int y) const {
    for (ControlId id : form_.stackingOrder()) {
        const Control& c = form_.control(id);
        if (!c.Visible || !contains(rectOf(c.Left, c.Top, c.Width, c.Height), x, y)) continue;
        if (id != ControlId::Picture1) return id;
        // The labels are drawn on the face and take its presses where they lie.
        for (ControlId label : {ControlId::Label3, ControlId::Label1}) {
            if (form_.control(label).Visible && contains(labelRect(label), x, y)) return label;
        }
        return id;
    }
    return ControlId::Form1;
}

bool PointerInput::pairs(int x, int y, std::int64_t timeMs) const {
    if (!first_) return false;
    const std::int64_t since = timeMs - first_->timeMs;
    return since >= 0 && since <= doubleClickTimeMs && std::abs(x - first_->x) <= doubleClickSlop &&
           std::abs(y - first_->y) <= doubleClickSlop;
}

void PointerInput::press(std::int16_t button, std::int16_t shift, int x, int y, std::int64_t timeMs) {
    if (running_) return;
    const ControlId target = controlAt(x, y);
    clickArmed_ = false;
    if (button == buttonLeft && pairs(x, y, timeMs)) {
        first_.reset();
        doubleClick(target);
        return;
    }
    // Only the left button has double-clicks; any other press ends a pair in the making.
    if (button == buttonLeft) first_ = FirstPress{timeMs, x, y};
    else first_.reset();
    mouseDown(target, button, shift, x, y);
}

void PointerInput::mouseDown(ControlId target, std::int16_t button, std::int16_t shift, int x, int y) {
    const float left = form_.Left;
    const float top = form_.Top;
    if (target == ControlId::Label1 || target == ControlId::Label3) {
        const PixelRect r = labelRect(target);
        const auto tx = static_cast<float>((x - r.left) * form_.platform().twipsPerPixelX());
        const auto ty = static_cast<float>((y - r.top) * form_.platform().twipsPerPixelY());
        Running running(running_);
        if (target == ControlId::Label1) form_.Label1_MouseDown(button, shift, tx, ty);
        else form_.Label3_MouseDown(button, shift, tx, ty);
    } else if (target == ControlId::Picture1 && button == buttonLeft) {
        clickArmed_ = true;  // the face has no press handler: its Click comes on release
    }
    // A press that moved the window was a drag: the next press starts afresh.
    if (form_.Left != left || form_.Top != top) first_.reset();
}

void PointerInput::doubleClick(ControlId target) {
    Running running(running_);
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

void PointerInput::release(std::int16_t button, int x, int y) {
    if (running_ || button != buttonLeft) return;
    // The pointer travelled while the button was down: a drag, not the first of a pair.
    if (first_ && (std::abs(x - first_->x) > doubleClickSlop || std::abs(y - first_->y) > doubleClickSlop))
        first_.reset();
    if (!clickArmed_) return;
    clickArmed_ = false;
    if (controlAt(x, y) != ControlId::Picture1) return;
    Running running(running_);
    form_.Picture1_Click();
}

void PointerInput::cancel() {
    clickArmed_ = false;
    first_.reset();
}

}  // namespace horatta
