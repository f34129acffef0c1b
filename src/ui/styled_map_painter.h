#pragma once

#include "analysis/map_styles.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;

namespace ai::ui {

// The photograph shown faintly, each valued triangle filled over it: with its own value's
// colour, or with the colour of the value interpolated at each pixel's centre from its
// corners' averages. `size` is the picture's, at one pixel per photograph pixel.
QImage paintStyledSurface(const QImage& photograph, QSize size, QColor window,
                          const StyledMap& map);

// Where a readable map's legend sits over an area, at `scale` times its design size: the
// colour bar with its ticks' labels and the unit in a panel against the right edge, the
// title in a band along the bottom edge.
struct StyledLegendLayout {
    QFont font;
    QFont titleFont;
    QRectF panel;
    QRectF unit;
    QRectF bar;
    std::vector<std::pair<QRectF, QString>> tickLabels;
    QRectF titleBand;
    QRectF title;
};

StyledLegendLayout styledLegendLayout(const StyledMap& map, QSize area, double scale);

void paintStyledLegend(QPainter& painter, const StyledMap& map, QSize area, double scale);

} // namespace ai::ui
