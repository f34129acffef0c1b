#pragma once

#include "analysis/map_styles.h"
#include "analysis/map_window.h"
#include "model/number_text.h"
#include "render/zoom_pan.h"
#include "ui/map_canvas.h"

#include <QImage>
#include <QWidget>

#include <optional>
#include <vector>

class QLabel;
class QScrollBar;

namespace ai::ui {

// The stress map window: a persistent drawing surface that starts from the whole free
// photograph and keeps every point painted on it, so the map survives being covered; the
// colour bar and three labels over it, against the window's right and bottom edges. It can
// be resized, shows the whole photograph fitted when a new photograph first shows, and
// zooms about the pointer (wheel) and pans (middle button, scroll bars). A tool window
// with no task-bar entry.
class Form2 : public QWidget, public MapWindow {
    Q_OBJECT

public:
    Form2();

    void show() override;
    void setBackground(const std::string& path) override;
    void drawPoint(float x, float y, Rgb colour) override;
    void drawLegendPoint(float x, float y, Rgb colour) override;
    void setTitle(const std::string& text) override;
    void setMaximumText(const std::string& text) override;
    void setMinimumText(const std::string& text) override;
    void hide() override;

    // A readable map in place of the dots, or the dots again.
    void showStyled(std::optional<StyledMap> map);
    // The triangles whose values the pointer reads, in the map's own terms.
    void setReadout(std::optional<StyledMap> map, const NumberFormat& format);

    const MapCanvas& canvas() const { return canvas_; }
    const ZoomPan& zoomPan() const { return shown_; }
    MapTexts texts() const;
    // The whole map as its context menu saves it: at the photograph's resolution, with
    // the legend, without the pointer's read-out.
    QImage picture() const { return canvas_.picture(texts()); }

signals:
    // The user closed the window; hide() does not count.
    void closedByUser();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void repaintLater();
    Extent surfaceExtent() const;
    Extent viewport() const;
    // Keeps the pan inside the map, then places the scroll bars and the labels.
    void setZoomPan(ZoomPan shown);
    void layOut();
    void showReadout(QPointF at);

    MapCanvas canvas_;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label3_ = nullptr;
    QLabel* readout_ = nullptr;
    QScrollBar* horizontal_ = nullptr;
    QScrollBar* vertical_ = nullptr;
    bool repaintRequested_ = false;

    ZoomPan shown_;
    QSize fittedFor_; // the photograph the zoom was last fitted to
    // The surface reduced for a zoom below one, made again when either changes, from the
    // nearest of the surface's halves, quarters... kept while the surface is unchanged.
    const QImage& reducedSurface(double zoom);
    QImage reduced_;
    double reducedZoom_ = 0;
    std::vector<QImage> halves_;
    std::optional<QPointF> panFrom_;
    std::optional<StyledMap> readoutMap_;
    NumberFormat format_;
};

} // namespace ai::ui
