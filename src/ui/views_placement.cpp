#include "ui/views_placement.h"

#include "ui/image_view_widget.h"

#include <algorithm>
#include <optional>

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

Extent ViewsPlacement::smallest(QSize (*measure)(const ImageViewWidget&)) const
{
    std::optional<Extent> least;
    for (const ImageViewWidget* view : views_) {
        const Extent own = extentOf(measure(*view));
        least = least ? smallerOf(*least, own) : own;
    }
    return least.value_or(Extent{});
}

Viewport ViewsPlacement::viewport() const
{
    // The scroll bar laid over a view's far edge hides that much of a panned photograph.
    const double bar = ImageViewWidget::scrollBarExtent();
    const Extent inside = smallest(insideOf);
    return {smallest(roomOf), {inside.width - bar, inside.height - bar}};
}

double ViewsPlacement::fittingZoom() const
{
    double zoom = ZoomPan::kMaximum;
    for (const ImageViewWidget* view : views_)
        zoom = std::min(zoom, filledZoom(extentOf(view->photographSize()), extentOf(view->room())));
    return zoom;
}

void ViewsPlacement::showWhole() { apply({std::min(1.0, fittingZoom()), 0, 0}); }

void ViewsPlacement::fit()
{
    if (!photographsExtent().isEmpty())
        apply({fittingZoom(), 0, 0});
}

void ViewsPlacement::naturalSize() { zoomBy(1 / transform_.zoom); }

void ViewsPlacement::zoomBy(double factor)
{
    const Extent inside = smallest(insideOf);
    zoomBy(factor, QPointF(inside.width, inside.height) / 2);
}

void ViewsPlacement::zoomBy(double factor, const QPointF& about)
{
    apply(zoomedAbout(transform_.zoomPan(), factor, about.x(), about.y()));
}

void ViewsPlacement::panBy(const QPointF& delta)
{
    apply(pannedBy(transform_.zoomPan(), delta.x(), delta.y()));
}

void ViewsPlacement::scrollTo(Qt::Orientation direction, double origin)
{
    ZoomPan wanted = transform_.zoomPan();
    (direction == Qt::Horizontal ? wanted.left : wanted.top) = origin;
    apply(wanted);
}

void ViewsPlacement::apply(ZoomPan wanted)
{
    // A photograph that the views show whole stays at their top-left corner; a larger one
    // scrolls no further than its far edge.
    wanted = clampedPan(wanted, extentOf(photographsExtent()), viewport());
    const ViewTransform placed = ViewTransform::of(wanted);
    if (placed == transform_)
        return;
    transform_ = placed;
    emit changed();
}

} // namespace ai::ui
