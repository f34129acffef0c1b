#include "ui/overlay.h"

#include "ui/view_units.h"

#include <QColor>
#include <QLine>
#include <QPainter>
#include <QPen>
#include <QPoint>

namespace ai::ui {

void Overlay::clear()
{
    runs_.clear();
    points_.clear();
    lines_.clear();
}

Overlay::Run& Overlay::runFor(bool lines, QRgb colour, std::size_t next)
{
    if (runs_.empty() || runs_.back().lines != lines || runs_.back().colour != colour)
        runs_.push_back({lines, colour, next, 0});
    return runs_.back();
}

void Overlay::addPoint(float x, float y, float dx, float dy, QRgb colour)
{
    ++runFor(false, colour, points_.size()).count;
    points_.push_back({x, y, dx, dy});
}

void Overlay::addLine(float x1, float y1, float x2, float y2, QRgb colour)
{
    ++runFor(true, colour, lines_.size()).count;
    lines_.push_back({x1, y1, x2, y2});
}

void Overlay::paint(QPainter& painter, const ViewTransform& transform) const
{
    // Converted per paint, since a zoom or a pan moves them without the core drawing again.
    std::vector<QPoint> points;
    std::vector<QLine> lines;
    const auto pixel = [&](float x, float y, float dx, float dy) {
        return toPixel(transform.screenUnitsX(x) + dx, transform.screenUnitsY(y) + dy);
    };
    QPen pen;
    pen.setWidth(1);
    pen.setCapStyle(Qt::SquareCap);
    for (const Run& run : runs_) {
        pen.setColor(QColor::fromRgb(run.colour));
        painter.setPen(pen);
        if (run.lines) {
            lines.clear();
            for (std::size_t i = run.first; i < run.first + run.count; ++i) {
                const Line& l = lines_[i];
                const auto from = pixel(l.x1, l.y1, 0, 0);
                const auto to = pixel(l.x2, l.y2, 0, 0);
                if (from && to)
                    lines.emplace_back(*from, *to);
            }
            painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        } else {
            points.clear();
            for (std::size_t i = run.first; i < run.first + run.count; ++i) {
                const Point& p = points_[i];
                if (const auto at = pixel(p.x, p.y, p.dx, p.dy))
                    points.push_back(*at);
            }
            painter.drawPoints(points.data(), static_cast<int>(points.size()));
        }
    }
}

} // namespace ai::ui
