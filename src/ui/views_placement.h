#pragma once

#include "render/zoom_pan.h"
#include "ui/view_transform.h"

#include <QObject>
#include <QSize>

#include <vector>

namespace ai::ui {

class ImageViewWidget;

// The one place both views show: the same zoom and the same photograph point at their
// top-left corner. The user looks for the same material point on the two photographs, and
// it lies near the same place on both, so a zoom or a pan on either moves both.
class ViewsPlacement : public QObject {
    Q_OBJECT

public:
    void addView(ImageViewWidget* view) { views_.push_back(view); }
    const ViewTransform& transform() const { return transform_; }

    // Natural size from the top-left corner when every photograph fits its view, else the
    // zoom that fits the largest, from the top-left corner: a photograph's first showing.
    void showWhole();
    // The zoom at which every photograph fills its view as far as it can.
    void fit();
    // Natural size, the photograph point at the centre of the views staying there.
    void naturalSize();
    // The zoom times `factor`, about a point of a view's inside (the centre if none).
    void zoomBy(double factor, const QPointF& about);
    void zoomBy(double factor);
    // The photographs moved by `delta` screen pixels.
    void panBy(const QPointF& delta);
    // The photograph point at the inside's top-left corner along one direction.
    void scrollTo(Qt::Orientation direction, double origin);
    // A photograph or a view changed size: the place is brought back within the photographs.
    void keepWithin() { apply(transform_.zoomPan()); }

    // The extent of the photographs (the largest of each direction).
    QSize photographsExtent() const;

signals:
    void changed();

private:
    void apply(ZoomPan wanted);
    double fittingZoom() const;
    // The smallest of the views' rooms, or of their insides.
    Extent smallest(QSize (*measure)(const ImageViewWidget&)) const;
    // Where the pan of every view may go.
    Viewport viewport() const;

    std::vector<ImageViewWidget*> views_;
    ViewTransform transform_;
};

} // namespace ai::ui
