#include "ui/views_placement.h"

#include "ui/image_view_widget.h"

#include <algorithm>
#include <cmath>

namespace ai::ui {

namespace {

QSize roomOf(const ImageViewWidget& view) { return view.room(); }
QSize insideOf(const ImageViewWidget& view) { return view.contentsRect().size(); }

} // namespace

QSize ViewsPlacement::photographsExtent() const
{
    QSize extent(0, 0);
    for (const ImageViewWidget* view : views_)
        extent = extent.expandedTo(view->photographSize());
    return extent;
}

QSize ViewsPlacement::smallest(QSize (*measure)(const ImageViewWidget&)) const
{
    QSize least;
    for (const ImageViewWidget* view : views_)
        least = least.isValid() ? least.boundedTo(measure(*view)) : measure(*view);
    return least;
}

double ViewsPlacement::fittingZoom() const
{
    double zoom = kMaximumZoom;
    for (const ImageViewWidget* view : views_) {
        const QSize photograph = view->photographSize();
        const QSize room = view->room();
        if (!photograph.isEmpty())
            zoom = std::min({zoom, double(room.width()) / photograph.width(),
                             double(room.height()) / photograph.height()});
    }
    return zoom;
}

void ViewsPlacement::showWhole() { apply({std::min(1.0, fittingZoom()), QPointF(0, 0)}); }

void ViewsPlacement::fit()
{
    if (!photographsExtent().isEmpty())
        apply({fittingZoom(), QPointF(0, 0)});
}

void ViewsPlacement::naturalSize() { zoomBy(1 / transform_.zoom); }

void ViewsPlacement::zoomBy(double factor)
{
    zoomBy(factor, QRectF(QPointF(0, 0), QSizeF(smallest(insideOf))).center());
}

void ViewsPlacement::zoomBy(double factor, const QPointF& about)
{
    const double zoom = std::clamp(transform_.zoom * factor, kMinimumZoom, kMaximumZoom);
    // The photograph point under `about` stays under it.
    const QPointF under = transform_.origin + about / transform_.zoom;
    apply({zoom, under - about / zoom});
}

void ViewsPlacement::panBy(const QPointF& delta)
{
    apply({transform_.zoom, transform_.origin - delta / transform_.zoom});
}

void ViewsPlacement::scrollTo(Qt::Orientation direction, double origin)
{
    ViewTransform wanted = transform_;
    (direction == Qt::Horizontal ? wanted.origin.rx() : wanted.origin.ry()) = origin;
    apply(wanted);
}

void ViewsPlacement::apply(ViewTransform wanted)
{
    // A photograph that the views show whole stays at their top-left corner; a larger one
    // scrolls no further than its far edge, plus the scroll bar that covers the view there.
    const QSize extent = photographsExtent();
    const QSize room = smallest(roomOf);
    const QSize inside = smallest(insideOf);
    const double bar = ImageViewWidget::scrollBarExtent();
    const auto clamp = [&](double origin, int photograph, int roomLength, int insideLength) {
        const double shown = photograph * wanted.zoom;
        if (shown <= roomLength)
            return 0.0;
        return std::clamp(origin, 0.0, (shown - insideLength + bar) / wanted.zoom);
    };
    wanted.origin = {clamp(wanted.origin.x(), extent.width(), room.width(), inside.width()),
                     clamp(wanted.origin.y(), extent.height(), room.height(), inside.height())};
    if (wanted == transform_)
        return;
    transform_ = wanted;
    emit changed();
}

} // namespace ai::ui
