#pragma once

#include "ui/view_transform.h"

#include <QRgb>

#include <vector>

class QPainter;

namespace ai::ui {

// Points and lines drawn over a picture, in the core's units, kept in drawing order so that
// later ones cover earlier ones. They are painted on the screen's pixels at any zoom: one
// pixel a point, lines one pixel wide, a mark's arms one pixel from its centre. Runs of one
// kind and one colour are painted in one call.
class Overlay {
public:
    void clear();
    // A point at (x, y) + (dx, dy), the offset being in units at natural size.
    void addPoint(float x, float y, float dx, float dy, QRgb colour);
    void addLine(float x1, float y1, float x2, float y2, QRgb colour);
    void paint(QPainter& painter, const ViewTransform& transform) const;

private:
    struct Run {
        bool lines;
        QRgb colour;
        std::size_t first;
        std::size_t count;
    };
    struct Point {
        float x, y, dx, dy;
    };
    struct Line {
        float x1, y1, x2, y2;
    };
    Run& runFor(bool lines, QRgb colour, std::size_t next);

    std::vector<Run> runs_;
    std::vector<Point> points_;
    std::vector<Line> lines_;
};

} // namespace ai::ui
