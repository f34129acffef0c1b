#include "ui/overlay.h"

#include <QColor>
#include <QPainter>
#include <QPen>

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

void Overlay::addPoint(QPoint point, QRgb colour)
{
    ++runFor(false, colour, points_.size()).count;
    points_.push_back(point);
}

void Overlay::addLine(QLine line, QRgb colour)
{
    ++runFor(true, colour, lines_.size()).count;
    lines_.push_back(line);
}

void Overlay::paint(QPainter& painter) const
{
    QPen pen;
    pen.setWidth(1);
    pen.setCapStyle(Qt::SquareCap);
    for (const Run& run : runs_) {
        pen.setColor(QColor::fromRgb(run.colour));
        painter.setPen(pen);
        const int count = static_cast<int>(run.count);
        if (run.lines)
            painter.drawLines(lines_.data() + run.first, count);
        else
            painter.drawPoints(points_.data() + run.first, count);
    }
}

} // namespace ai::ui
