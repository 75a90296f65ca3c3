#include "window/layout.h"

#include <algorithm>
#include <cmath>

#include "window/form1.h"

namespace horatta {

int toPixels(float twips, int tpp) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / std::max(tpp, 1)));
}

float toTwips(int pixels, int tpp) { return static_cast<float>(pixels * tpp); }

PixelRect toPixelRect(float left, float top, float width, float height, int tppX, int tppY) {
    const int l = toPixels(left, tppX);
    const int t = toPixels(top, tppY);
    return {l, t, toPixels(left + width, tppX) - l, toPixels(top + height, tppY) - t};
}

bool contains(const PixelRect& r, int x, int y) {
    return x >= r.left && y >= r.top && x < r.left + r.width && y < r.top + r.height;
}

Layout::Layout(Form1& form)
    : form_(form), tppX_(form.platform().twipsPerPixelX()), tppY_(form.platform().twipsPerPixelY()) {}

PixelRect Layout::rect(float left, float top, float width, float height) const {
    return toPixelRect(left, top, width, height, tppX_, tppY_);
}

PixelRect Layout::window() const {
    return {toPixels(form_.Left, tppX_), toPixels(form_.Top, tppY_), std::max(1, toPixels(form_.Width, tppX_)),
            std::max(1, toPixels(form_.Height, tppY_))};
}

std::array<Placement, 6> Layout::controls() const {
    std::array<Placement, 6> out;
    const auto order = form_.stackingOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Control& c = form_.control(order[i]);
        PixelRect r = rect(c.Left, c.Top, c.Width, c.Height);
        r.width = std::max(0, r.width);
        r.height = std::max(0, r.height);
        out[i] = {order[i], r, c.Visible};
    }
    return out;
}

std::vector<DrawnLabel> Layout::labelsOn(ControlId surface) const {
    std::vector<DrawnLabel> out;
    auto add = [&](ControlId id, const Label& label) {
        if (label.Visible) out.push_back({id, &label, labelRect(id)});
    };
    if (surface == ControlId::Form1) add(ControlId::Label2, form_.Label2);
    if (surface == ControlId::Picture1) {
        add(ControlId::Label1, form_.Label1);
        add(ControlId::Label3, form_.Label3);
    }
    return out;
}

PixelRect Layout::labelRectInWindow(ControlId id) const {
    const Control& label = form_.control(id);
    if (id == ControlId::Label2) return rect(label.Left, label.Top, label.Width, label.Height);
    const PictureBox& face = form_.Picture1;
    return rect(face.Left + label.Left, face.Top + label.Top, label.Width, label.Height);
}

PixelRect Layout::labelRect(ControlId id) const {
    PixelRect r = labelRectInWindow(id);
    if (id != ControlId::Label2) {
        const PixelRect face = rect(form_.Picture1.Left, form_.Picture1.Top, form_.Picture1.Width,
                                    form_.Picture1.Height);
        r.left -= face.left;
        r.top -= face.top;
    }
    return r;
}

HitMap Layout::hitMap() const {
    HitMap map{controls(), {}};
    // The handle is in front of the time.
    std::size_t i = 0;
    for (ControlId id : {ControlId::Label3, ControlId::Label1})
        map.faceLabels[i++] = {id, labelRectInWindow(id), form_.control(id).Visible};
    return map;
}

ControlId HitMap::controlAt(int x, int y) const {
    for (const Placement& p : controls) {
        if (!p.visible || !contains(p.rect, x, y)) continue;
        if (p.id != ControlId::Picture1) return p.id;
        // The labels are drawn on the face and take its presses where they lie.
        for (const FaceLabel& label : faceLabels)
            if (label.shown && contains(label.rect, x, y)) return label.id;
        return p.id;
    }
    return ControlId::Form1;
}

WindowPosition Layout::positionAt(int x, int y, WindowPosition from) const {
    if (x == toPixels(from.left, tppX_) && y == toPixels(from.top, tppY_)) return from;
    return {toTwips(x, tppX_), toTwips(y, tppY_)};
}

}  // namespace horatta
