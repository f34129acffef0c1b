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

// A picture that fits the viewport at natural size is shown so from its top-left corner;
// a larger one is scaled down to fit whole.
ZoomPan fittedZoom(Extent picture, Extent viewport);

// The pan kept inside the picture: no picture edge moves into the viewport, and a picture
// narrower (lower) than the viewport keeps its left (top) edge at the viewport's.
ZoomPan clampedPan(ZoomPan shown, Extent picture, Extent viewport);

// Zoom multiplied by `factor` within the limits, the picture point under the screen
// position (x, y) staying under it as far as the picture's edges allow.
ZoomPan zoomedAbout(ZoomPan shown, double factor, double x, double y, Extent picture,
                    Extent viewport);

// The picture point under a screen position, in picture pixels.
inline double pictureX(const ZoomPan& shown, double x) { return shown.left + x / shown.zoom; }
inline double pictureY(const ZoomPan& shown, double y) { return shown.top + y / shown.zoom; }

} // namespace ai
