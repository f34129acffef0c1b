#include "render/zoom_pan.h"

#include <algorithm>

namespace ai {

namespace {

double clampedEdge(double edge, double pictureLength, double whole, double seen, double zoom)
{
    if (pictureLength - whole / zoom <= 0)
        return 0.0;
    return std::clamp(edge, 0.0, std::max(0.0, pictureLength - seen / zoom));
}

} // namespace

Extent smallerOf(Extent a, Extent b)
{
    return {std::min(a.width, b.width), std::min(a.height, b.height)};
}

double filledZoom(Extent picture, Extent viewport)
{
    if (picture.width <= 0 || picture.height <= 0 || viewport.width <= 0 || viewport.height <= 0)
        return ZoomPan::kMaximum;
    const double zoom = std::min(viewport.width / picture.width, viewport.height / picture.height);
    return std::clamp(zoom, ZoomPan::kMinimum, ZoomPan::kMaximum);
}

ZoomPan fittedZoom(Extent picture, Extent viewport)
{
    return {std::min(1.0, filledZoom(picture, viewport)), 0.0, 0.0};
}

ZoomPan clampedPan(ZoomPan shown, Extent picture, const Viewport& viewport)
{
    shown.left = clampedEdge(shown.left, picture.width, viewport.whole.width, viewport.seen.width,
                             shown.zoom);
    shown.top = clampedEdge(shown.top, picture.height, viewport.whole.height, viewport.seen.height,
                            shown.zoom);
    return shown;
}

ZoomPan zoomedAbout(ZoomPan shown, double factor, double x, double y)
{
    const double px = pictureX(shown, x);
    const double py = pictureY(shown, y);
    shown.zoom = std::clamp(shown.zoom * factor, ZoomPan::kMinimum, ZoomPan::kMaximum);
    shown.left = px - x / shown.zoom;
    shown.top = py - y / shown.zoom;
    return shown;
}

ZoomPan zoomedAbout(ZoomPan shown, double factor, double x, double y, Extent picture,
                    const Viewport& viewport)
{
    return clampedPan(zoomedAbout(shown, factor, x, y), picture, viewport);
}

} // namespace ai
