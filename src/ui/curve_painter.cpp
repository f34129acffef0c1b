#include "ui/curve_painter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace ai::ui {

namespace {

// The room around the plot for the title, the numbers and the axes' labels.
constexpr int kLeft = 90, kRight = 24, kTop = 44, kBottom = 56;
constexpr int kTickLength = 5, kCapHalfWidth = 4, kDotRadius = 3;

struct Range {
    double low = 0.0, high = 1.0;
};

// A step between ticks of 1, 2 or 5 times a power of ten that gives at most `most` ticks.
double tickStep(double span, int most)
{
    const double raw = span / most;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (raw <= m * power)
            return m * power;
    return 10.0 * power;
}

// The values' span with their bars, widened when flat so that a constant curve shows.
Range valueRange(const HistoryCurve& curve)
{
    double low = std::numeric_limits<double>::infinity(), high = -low;
    for (const HistoryPoint& point : curve.points)
        if (point.value && std::isfinite(point.value->value) && std::isfinite(point.value->sd)) {
            low = std::min(low, point.value->value - point.value->sd);
            high = std::max(high, point.value->value + point.value->sd);
        }
    if (low > high)
        return {};
    if (high - low <= 1e-9 * std::max(std::fabs(low), std::fabs(high))) {
        const double pad = low == 0.0 ? 1.0 : std::fabs(low) * 0.1;
        return {low - pad, high + pad};
    }
    const double margin = (high - low) * 0.05;
    return {low - margin, high + margin};
}

// A tick's number with the decimals its step needs and the user's decimal separator.
QString tickText(double value, double step, const NumberFormat& format)
{
    const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
    return QString::number(value + 0.0, 'f', decimals)
        .replace(QLatin1Char('.'), QChar::fromLatin1(format.decimal));
}

} // namespace

void paintCurve(QPainter& painter, const QRect& area, const HistoryCurve& curve,
                const NumberFormat& format)
{
    painter.save();
    painter.fillRect(area, Qt::white);
    painter.setPen(Qt::black);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect plot = area.adjusted(kLeft, kTop, -kRight, -kBottom);
    if (plot.width() < 10 || plot.height() < 10) {
        painter.restore();
        return;
    }
    painter.drawText(QRect(area.left(), area.top(), area.width(), kTop), Qt::AlignCenter,
                     QString::fromStdString(curve.title));

    const int steps = std::max(1, static_cast<int>(curve.points.size()));
    const double firstStep = 0.5, lastStep = steps + 0.5;
    const Range values = valueRange(curve);
    const auto x = [&](double step) {
        return plot.left() + (step - firstStep) / (lastStep - firstStep) * plot.width();
    };
    const auto y = [&](double value) {
        return plot.bottom() - (value - values.low) / (values.high - values.low) * plot.height();
    };

    // Axes, ticks and numbers.
    painter.drawRect(plot);
    const QFontMetrics metrics = painter.fontMetrics();
    const double stepTick = std::max(1.0, tickStep(steps, 10));
    for (double s = 1; s <= steps; s += stepTick) {
        const double at = x(s);
        painter.drawLine(QPointF(at, plot.bottom()), QPointF(at, plot.bottom() + kTickLength));
        painter.drawText(QRectF(at - 40, plot.bottom() + kTickLength, 80, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, QString::number(s));
    }
    painter.drawText(QRect(plot.left(), area.bottom() - metrics.height() - 4, plot.width(),
                           metrics.height()),
                     Qt::AlignCenter, QStringLiteral("Étape"));
    const double valueTick = tickStep(values.high - values.low, 8);
    for (double v = std::ceil(values.low / valueTick) * valueTick; v <= values.high;
         v += valueTick) {
        const double at = y(v);
        painter.drawLine(QPointF(plot.left() - kTickLength, at), QPointF(plot.left(), at));
        painter.drawText(QRectF(area.left(), at - metrics.height(), plot.left() - kTickLength - 3 -
                                                                       area.left(),
                                2 * metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, tickText(v, valueTick, format));
    }
    painter.save();
    painter.translate(area.left() + metrics.height(), plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRect(-plot.height() / 2, -metrics.height(), plot.height(),
                           2 * metrics.height()),
                     Qt::AlignCenter, QString::fromStdString(curveAxisLabel(curve)));
    painter.restore();

    // The curve: bars, joins where both steps have a value, dots.
    painter.setClipRect(plot);
    const QPen line(QColor(0, 70, 160), 1.5);
    painter.setPen(line);
    const HistoryPoint* before = nullptr;
    for (const HistoryPoint& point : curve.points) {
        if (!point.value) {
            before = nullptr;
            continue;
        }
        const double px = x(point.step), value = point.value->value, sd = point.value->sd;
        painter.drawLine(QPointF(px, y(value - sd)), QPointF(px, y(value + sd)));
        for (const double end : {value - sd, value + sd})
            painter.drawLine(QPointF(px - kCapHalfWidth, y(end)), QPointF(px + kCapHalfWidth, y(end)));
        if (before)
            painter.drawLine(QPointF(x(before->step), y(before->value->value)), QPointF(px, y(value)));
        before = &point;
    }
    painter.setBrush(QColor(0, 70, 160));
    for (const HistoryPoint& point : curve.points)
        if (point.value)
            painter.drawEllipse(QPointF(x(point.step), y(point.value->value)), kDotRadius,
                                kDotRadius);
    painter.restore();
}

} // namespace ai::ui
