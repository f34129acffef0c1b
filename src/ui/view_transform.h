#pragma once

#include "render/zoom_pan.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace ai::ui {

// Where a view shows its photograph: the zoom (screen pixels a photograph pixel) and the
// photograph point at the top-left corner of the view's inside, measured on pixel edges
// (pixel i spans i to i + 1, its centre being the core's 15 * i units). The identity (zoom
// 1, origin 0) gives back, operation for operation, the natural-size view's coordinates.
struct ViewTransform {
    double zoom = 1;
    QPointF origin;

    // The core's units of a pointer position in the inside's logical pixels.
    QPointF unitsAt(QPointF inside) const
    {
        return {15 * inside.x() / zoom + 15 * (0.5 / zoom + origin.x() - 0.5),
                15 * inside.y() / zoom + 15 * (0.5 / zoom + origin.y() - 0.5)};
    }

    // A coordinate in the core's units as the same unit on the screen (15 a screen pixel,
    // measured from the inside's corner), where marks and lines are drawn at their own size.
    float screenUnitsX(float units) const { return screenUnits(units, origin.x()); }
    float screenUnitsY(float units) const { return screenUnits(units, origin.y()); }

    // A rectangle of the photograph (pixel edges) on the screen.
    QRectF screenOf(const QRectF& photograph) const
    {
        return {(photograph.x() - origin.x()) * zoom, (photograph.y() - origin.y()) * zoom,
                photograph.width() * zoom, photograph.height() * zoom};
    }

    // The part of the photograph plane (pixel edges) that an inside of `size` shows.
    QRectF seen(QSizeF size) const { return {origin, size / zoom}; }

    // The same place in the zoom-and-pan arithmetic's terms, and back.
    ZoomPan zoomPan() const { return {zoom, origin.x(), origin.y()}; }
    static ViewTransform of(const ZoomPan& shown) { return {shown.zoom, {shown.left, shown.top}}; }

    bool operator==(const ViewTransform&) const = default;

private:
    float screenUnits(float units, double originAxis) const
    {
        return static_cast<float>(units * zoom + 15 * ((0.5 - originAxis) * zoom - 0.5));
    }
};

inline Extent extentOf(QSizeF size) { return {size.width(), size.height()}; }

} // namespace ai::ui
