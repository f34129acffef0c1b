#pragma once

#include <QLine>
#include <QPoint>
#include <QRgb>

#include <vector>

class QPainter;

namespace ai::ui {

// Points and lines drawn over a picture, in pixels, kept in drawing order so that later
// ones cover earlier ones. Runs of one kind and one colour are painted in one call.
class Overlay {
public:
    void clear();
    bool empty() const { return runs_.empty(); }
    void addPoint(QPoint point, QRgb colour);
    void addLine(QLine line, QRgb colour);
    void paint(QPainter& painter) const;

private:
    struct Run {
        bool lines;
        QRgb colour;
        std::size_t first;
        std::size_t count;
    };
    Run& runFor(bool lines, QRgb colour, std::size_t next);

    std::vector<Run> runs_;
    std::vector<QPoint> points_;
    std::vector<QLine> lines_;
};

} // namespace ai::ui
