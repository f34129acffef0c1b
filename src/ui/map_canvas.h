#pragma once

#include "analysis/map_styles.h"
#include "model/colour.h"
#include "ui/picture_file.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

#include <optional>
#include <string>
#include <vector>

class QPainter;
class QPaintDevice;

namespace ai::ui {

// The map window's inside at its design size, 15240 x 6660 twips, and where its three
// labels sit in it.
inline constexpr QSize kMapClientSize(1016, 444);
inline constexpr QRect kMapTitleRect(320, 408, 129, 33);   // Label1: 4800, 6120, 1935 x 495
inline constexpr QRect kMapMaximumRect(904, 24, 105, 17);  // Label2: 13560, 360, 1575 x 255
inline constexpr QRect kMapMinimumRect(904, 264, 105, 17); // Label3: 13560, 3960, 1575 x 255

// The texts of the map window's three labels.
struct MapTexts {
    std::string title;
    std::string maximum;
    std::string minimum;
};

// Where the legend of an area sits: the design layout scaled by `scale`, its colour bar
// and value labels against the area's right edge, its title against the bottom edge. At
// the design size and scale 1 it is the design layout itself.
struct LegendPlace {
    double scale = 1.0;
    QPointF bar;   // where the design layout's origin goes for the bar and its labels
    QPointF title; // and for the title
};

LegendPlace legendPlace(QSize area, double scale);

// The legend's scale for a picture of `size`: the share of the picture it takes in the
// window at its design size, so that it stays legible on a large photograph.
double legendScale(QSize size);

// The stress map as painted: the whole free photograph at one pixel per photograph pixel
// (at least the window's design size, filled with the window's colour beyond the
// photograph), the map's points kept on it, and the colour bar kept apart so that it can
// be placed over any area. Or, when a readable style is chosen, that map over the faint
// photograph with its own legend. Needs Qt Gui only, so that the batch program paints the
// same map off screen.
class MapCanvas {
public:
    // `window` fills what the photograph does not cover, and the labels' backgrounds;
    // `text` is the labels' colour.
    MapCanvas(QColor window, QColor text);

    // Starts a new picture of dots. Returns false, giving an empty background, when the
    // name is empty or the file cannot be read.
    bool setBackground(const std::string& path);
    void drawPoint(float x, float y, Rgb colour);
    void drawLegendPoint(float x, float y, Rgb colour);
    // A readable map in place of the dots, or the dots again.
    void showStyled(std::optional<StyledMap> map);

    // What zooms: the photograph with the map, without the legend.
    const QImage& surface() const { return styled_ ? styledSurface_ : surface_; }
    QSize photographSize() const { return photograph_.size(); }
    const std::optional<StyledMap>& styled() const { return styled_; }

    // The map's dots, one screen pixel each, over the surface shown at `zoom` from the surface
    // point `origin`: zoomed out, the averaged surface would all but lose them.
    void paintDots(QPainter& painter, double zoom, QPointF origin) const;

    // The legend over an area: the colour bar and, when `labels` (a picture), the three
    // texts; or the readable map's legend.
    void paintLegend(QPainter& painter, QSize area, double scale, const MapTexts& texts,
                     bool labels) const;

    // The picture saved: the surface with the legend at legendScale().
    QImage picture(const MapTexts& texts) const;
    // The same picture painted on any device of the surface's size (an SVG file).
    void paint(QPainter& painter, const MapTexts& texts) const;

private:
    struct Dot {
        int x;
        int y;
        QRgb colour;
    };

    QColor window_;
    QColor text_;
    PictureFile background_;
    QImage photograph_;
    QImage surface_;
    std::vector<Dot> legend_;
    std::vector<Dot> dots_;
    std::optional<StyledMap> styled_;
    QImage styledSurface_;
};

} // namespace ai::ui
