#pragma once

namespace ai {

// How a picture is shown in a viewport: `zoom` screen pixels per picture pixel, and the
// picture point (in picture pixels, 0 at the picture's top-left edge) at the viewport's
// top-left corner. Shared by every zoomable view; no toolkit involved.
struct ZoomPan {
    static constexpr double kMinimum = 1.0 / 64;
    static constexpr double kMaximum = 16;

    double zoom = 1.0;
    double left = 0.0;
    double top = 0.0;

    friend bool operator==(const ZoomPan&, const ZoomPan&) = default;
};

struct Extent {
    double width = 0.0;
    double height = 0.0;
};

// Where a pan may go. A picture no larger on the screen than `whole` stays at the top-left
// corner; a larger one pans until its far edge reaches the far side of `seen`, which is
// smaller than `whole` where a scroll bar covers part of the viewport.
struct Viewport {
    Extent whole;
    Extent seen;

    Viewport(Extent whole, Extent seen) : whole(whole), seen(seen) {}
    // A viewport without scroll bars over it.
    Viewport(Extent both) : whole(both), seen(both) {}
};

// The smaller of two extents along each direction: a pan that several viewports show must
// stay inside each of them.
Extent smallerOf(Extent a, Extent b);

// The zoom at which the picture fills the viewport as far as it can, within the limits; the
// largest one when either is empty, so that it does not restrict a smaller one.
double filledZoom(Extent picture, Extent viewport);

// A picture that fits the viewport at natural size is shown so from its top-left corner;
// a larger one is scaled down to fit whole.
ZoomPan fittedZoom(Extent picture, Extent viewport);

// The pan kept inside the picture: no picture edge moves into the viewport, and a picture
// narrower (lower) than the viewport keeps its left (top) edge at the viewport's.
ZoomPan clampedPan(ZoomPan shown, Extent picture, const Viewport& viewport);

// Zoom multiplied by `factor` within the limits, the picture point under the screen
// position (x, y) staying under it; the second form keeps the pan inside the picture too.
ZoomPan zoomedAbout(ZoomPan shown, double factor, double x, double y);
ZoomPan zoomedAbout(ZoomPan shown, double factor, double x, double y, Extent picture,
                    const Viewport& viewport);

// The picture moved by (dx, dy) screen pixels, not yet kept inside it.
inline ZoomPan pannedBy(ZoomPan shown, double dx, double dy)
{
    return {shown.zoom, shown.left - dx / shown.zoom, shown.top - dy / shown.zoom};
}

// The picture point under a screen position, in picture pixels.
inline double pictureX(const ZoomPan& shown, double x) { return shown.left + x / shown.zoom; }
inline double pictureY(const ZoomPan& shown, double y) { return shown.top + y / shown.zoom; }

} // namespace ai
