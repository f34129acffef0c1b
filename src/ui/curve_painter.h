#pragma once

#include "analysis/history.h"
#include "model/number_text.h"

#include <QRect>

class QPainter;

namespace ai::ui {

// Paints a curve over the whole rectangle on a white ground: its title, the value axis with
// its label, the steps' axis, ticks and numbers in the user's number format, each value as
// a dot with its bar of one standard deviation either side, joined to the next step's when
// both have a value. The window and its PNG share it.
void paintCurve(QPainter& painter, const QRect& area, const HistoryCurve& curve,
                const NumberFormat& format);

} // namespace ai::ui
