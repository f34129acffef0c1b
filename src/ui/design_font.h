#pragma once

#include <QFont>

namespace ai::ui {

// The font the layouts of both windows were designed for: a narrow sans-serif of 8.25 points.
QFont designFont();

} // namespace ai::ui
