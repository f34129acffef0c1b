#include "ui/styled_map_painter.h"

#include "ui/view_units.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ai::ui {

namespace {

// How much of the photograph shows through its white veil.
constexpr double kPhotographOpacity = 0.35;

// Design sizes, in pixels at scale 1.
constexpr double kMargin = 10, kPanelWidth = 140, kUnitHeight = 20, kBarTop = 34, kBarWidth = 24,
                 kBarHeight = 260, kTickLength = 6, kLabelHeight = 16, kTitleHeight = 24,
                 kFontPixels = 13, kTitlePixels = 14;
constexpr int kBarStrips = 256;
const QColor kPanelColour(255, 255, 255, 225);

QRgb rgbOf(Rgb rgb) { return qRgb(rgb.red, rgb.green, rgb.blue); }

// A photograph pixel centre of a triangle, in photograph pixels.
struct Corner {
    double x;
    double y;
};

void fillTriangle(QImage& image, const MapTriangle& triangle, const StyledMap& map)
{
    std::array<Corner, 3> c;
    for (std::size_t i = 0; i < 3; ++i)
        c[i] = {triangle.corners[i].x / kUnitsPerPixel, triangle.corners[i].y / kUnitsPerPixel};
    const double area =
        (c[1].x - c[0].x) * (c[2].y - c[0].y) - (c[2].x - c[0].x) * (c[1].y - c[0].y);
    if (area == 0 || !std::isfinite(area))
        return;
    const auto bound = [](double v, int limit) {
        return static_cast<int>(std::clamp(v, -1.0, static_cast<double>(limit)));
    };
    const int x0 = bound(std::ceil(std::min({c[0].x, c[1].x, c[2].x})), image.width());
    const int x1 = bound(std::floor(std::max({c[0].x, c[1].x, c[2].x})), image.width() - 1);
    const int y0 = bound(std::ceil(std::min({c[0].y, c[1].y, c[2].y})), image.height());
    const int y1 = bound(std::floor(std::max({c[0].y, c[1].y, c[2].y})), image.height() - 1);
    const bool interpolated = map.style == MapStyle::Continuous;
    const QRgb flat = rgbOf(map.scale.colour(triangle.value));
    constexpr double kEdge = -1e-9; // pixel centres on an edge belong to the triangle
    for (int y = std::max(y0, 0); y <= y1; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = std::max(x0, 0); x <= x1; ++x) {
            const double l1 = ((c[1].x - x) * (c[2].y - y) - (c[2].x - x) * (c[1].y - y)) / area;
            const double l2 = ((c[2].x - x) * (c[0].y - y) - (c[0].x - x) * (c[2].y - y)) / area;
            const double l3 = 1 - l1 - l2;
            if (l1 < kEdge || l2 < kEdge || l3 < kEdge)
                continue;
            if (!interpolated) {
                row[x] = flat;
                continue;
            }
            const double value = l1 * triangle.nodeValues[0] + l2 * triangle.nodeValues[1] +
                                 l3 * triangle.nodeValues[2];
            row[x] = rgbOf(map.scale.colour(value));
        }
    }
}

double tickY(const QRectF& bar, const ColourScale& scale, double tick)
{
    return bar.bottom() - (tick - scale.minimum) / (scale.maximum - scale.minimum) * bar.height();
}

} // namespace

QImage paintStyledSurface(const QImage& photograph, QSize size, QColor window, const StyledMap& map)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(window);
    {
        QPainter painter(&image);
        painter.fillRect(QRect(QPoint(0, 0), photograph.size()), Qt::white);
        painter.setOpacity(kPhotographOpacity);
        painter.drawImage(QPoint(0, 0), photograph);
    }
    for (const MapTriangle& triangle : map.triangles)
        if (triangle.valued())
            fillTriangle(image, triangle, map);
    return image;
}

StyledLegendLayout styledLegendLayout(const StyledMap& map, QSize area, double s)
{
    StyledLegendLayout layout;
    layout.font = QFont(QStringLiteral("Liberation Sans"));
    layout.font.setStyleHint(QFont::SansSerif);
    layout.font.setPixelSize(std::max(1, static_cast<int>(std::lround(kFontPixels * s))));
    layout.titleFont = layout.font;
    layout.titleFont.setPixelSize(std::max(1, static_cast<int>(std::lround(kTitlePixels * s))));
    layout.titleFont.setBold(true);

    const double right = area.width() - kMargin * s;
    layout.panel = QRectF(right - kPanelWidth * s, kMargin * s, kPanelWidth * s,
                          (kBarTop + kBarHeight + kLabelHeight) * s);
    layout.unit = QRectF(layout.panel.left() + 8 * s, layout.panel.top() + 6 * s,
                         layout.panel.width() - 16 * s, kUnitHeight * s);
    layout.bar = QRectF(layout.panel.left() + 12 * s, layout.panel.top() + kBarTop * s,
                        kBarWidth * s, kBarHeight * s);
    const double labelLeft = layout.bar.right() + (kTickLength + 4) * s;
    for (std::size_t i = 0; i < map.scale.ticks.size(); ++i) {
        const double y = tickY(layout.bar, map.scale, map.scale.ticks[i]);
        layout.tickLabels.emplace_back(
            QRectF(labelLeft, y - kLabelHeight * s / 2, layout.panel.right() - 6 * s - labelLeft,
                   kLabelHeight * s),
            QString::fromStdString(i < map.tickTexts.size() ? map.tickTexts[i] : std::string()));
    }
    const QString title = QString::fromStdString(map.title);
    const double titleWidth = QFontMetricsF(layout.titleFont).horizontalAdvance(title);
    layout.titleBand =
        QRectF(kMargin * s, area.height() - (kMargin + kTitleHeight) * s,
               std::min(titleWidth + 20 * s, area.width() - 2 * kMargin * s), kTitleHeight * s);
    layout.title = layout.titleBand.adjusted(8 * s, 0, -8 * s, 0);
    return layout;
}

void paintStyledLegend(QPainter& painter, const StyledMap& map, QSize area, double scale)
{
    const StyledLegendLayout layout = styledLegendLayout(map, area, scale);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.fillRect(layout.panel, kPanelColour);
    painter.fillRect(layout.titleBand, kPanelColour);
    const ColourScale& s = map.scale;
    for (int strip = 0; strip < kBarStrips; ++strip) {
        const double t0 = static_cast<double>(strip) / kBarStrips;
        const double t1 = static_cast<double>(strip + 1) / kBarStrips;
        const double value = s.minimum + (t0 + t1) / 2 * (s.maximum - s.minimum);
        const QRectF band(layout.bar.left(), layout.bar.bottom() - t1 * layout.bar.height(),
                          layout.bar.width(), (t1 - t0) * layout.bar.height());
        painter.fillRect(band, QColor(rgbOf(s.colour(value))));
    }
    QPen ink(Qt::black);
    ink.setWidthF(std::max(1.0, scale));
    painter.setPen(ink);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(layout.bar);
    painter.setFont(layout.font);
    for (std::size_t i = 0; i < s.ticks.size(); ++i) {
        const double y = tickY(layout.bar, s, s.ticks[i]);
        painter.drawLine(QPointF(layout.bar.right(), y),
                         QPointF(layout.bar.right() + kTickLength * scale, y));
        painter.drawText(layout.tickLabels[i].first, Qt::AlignLeft | Qt::AlignVCenter,
                         layout.tickLabels[i].second);
    }
    painter.drawText(layout.unit, Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(map.unit));
    painter.setFont(layout.titleFont);
    painter.drawText(layout.title, Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(map.title));
    painter.restore();
}

} // namespace ai::ui
