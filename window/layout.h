#pragma once

#include <array>
#include <vector>

#include "platform/platform.h"

namespace horatta {

class Form1;
class Label;

// The logical pixel of every desktop the clock is drawn on: 15 twips, as at 96 dots an
// inch. A shell reports it through Platform::twipsPerPixelX/Y; nothing else converts.
inline constexpr int twipsPerPixel = 15;

// A position in twips to the nearest pixel, and a whole pixel back to twips.
int toPixels(float twips, int twipsPerPixel = horatta::twipsPerPixel);
float toTwips(int pixels, int twipsPerPixel = horatta::twipsPerPixel);

// A rectangle in twips mapped to pixels edge by edge, so that controls that meet in twips
// meet in pixels however their edges round.
PixelRect toPixelRect(float left, float top, float width, float height, int twipsPerPixelX = twipsPerPixel,
                      int twipsPerPixelY = twipsPerPixel);

bool contains(const PixelRect& rect, int x, int y);

// A windowed control as a shell places it: its rectangle in Form1's client pixels.
struct Placement {
    ControlId id = ControlId::Form1;
    PixelRect rect;
    bool visible = false;
    bool operator==(const Placement&) const = default;
};

// What a press meets where the window shows what it shows at one moment: the windowed
// controls front to back, and the labels shown on the face (in window pixels) front first.
struct HitMap {
    struct FaceLabel {
        ControlId id = ControlId::Label3;
        PixelRect rect;
        bool shown = false;
        bool operator==(const FaceLabel&) const = default;
    };
    std::array<Placement, 6> controls;
    std::array<FaceLabel, 2> faceLabels;

    // The control at a point of the client area; Form1 where no control is shown.
    ControlId controlAt(int x, int y) const;
    bool operator==(const HitMap&) const = default;
};

// A label as a shell draws it: its rectangle in the pixels of the surface it lies on.
struct DrawnLabel {
    ControlId id = ControlId::Label1;
    const Label* label = nullptr;
    PixelRect rect;
};

// Where Form1 and its controls are on screen, decided once for every shell and for the
// core's own hit-testing. A shell moves its windows to these rectangles, stacks them in
// this order and paints the labels each surface lists, in that order.
class Layout {
public:
    explicit Layout(Form1& form);

    // The window in screen pixels; its size does not follow the rounding of its position,
    // so a drag never makes the strip a pixel wider or narrower.
    PixelRect window() const;
    // The windowed controls, front to back.
    std::array<Placement, 6> controls() const;
    // The labels drawn on a surface (Form1 or Picture1), back to front: Label2 on the
    // window, the time Label1 and in front of it the handle Label3 on the face. Hidden
    // labels are left out.
    std::vector<DrawnLabel> labelsOn(ControlId surface) const;
    // A label's rectangle in the pixels of its surface. The face's labels are mapped in
    // window twips first, so they line up with where the face itself lies.
    PixelRect labelRect(ControlId label) const;
    PixelRect labelRectInWindow(ControlId label) const;
    // The control a point of the client area shows: a windowed control in its stacking
    // order, on the face the label in front; Form1 where no control is shown.
    ControlId controlAt(int x, int y) const { return hitMap().controlAt(x, y); }
    HitMap hitMap() const;

    // The window's position in twips for where it lies on screen after a move; the given
    // position when the window is still on its pixel, so that no twips are lost to rounding.
    WindowPosition positionAt(int x, int y, WindowPosition from) const;

private:
    PixelRect rect(float left, float top, float width, float height) const;

    Form1& form_;
    int tppX_;
    int tppY_;
};

}  // namespace horatta
