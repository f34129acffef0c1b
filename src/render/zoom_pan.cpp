#include "render/zoom_pan.h"

#include <algorithm>

namespace ai {

namespace {

double clampedEdge(double edge, double pictureLength, double viewportLength, double zoom)
{
    const double room = pictureLength - viewportLength / zoom;
    return room <= 0 ? 0.0 : std::clamp(edge, 0.0, room);
}

} // namespace

ZoomPan fittedZoom(Extent picture, Extent viewport)
{
    if (picture.width <= viewport.width && picture.height <= viewport.height)
        return {};
    if (picture.width <= 0 || picture.height <= 0 || viewport.width <= 0 || viewport.height <= 0)
        return {};
    const double zoom = std::min(viewport.width / picture.width, viewport.height / picture.height);
    return {std::max(zoom, ZoomPan::kMinimum), 0.0, 0.0};
}

ZoomPan clampedPan(ZoomPan shown, Extent picture, Extent viewport)
{
    shown.left = clampedEdge(shown.left, picture.width, viewport.width, shown.zoom);
    shown.top = clampedEdge(shown.top, picture.height, viewport.height, shown.zoom);
    return shown;
}

ZoomPan zoomedAbout(ZoomPan shown, double factor, double x, double y, Extent picture,
                    Extent viewport)
{
    const double px = pictureX(shown, x);
    const double py = pictureY(shown, y);
    shown.zoom = std::clamp(shown.zoom * factor, ZoomPan::kMinimum, ZoomPan::kMaximum);
    shown.left = px - x / shown.zoom;
    shown.top = py - y / shown.zoom;
    return clampedPan(shown, picture, viewport);
}

} // namespace ai
