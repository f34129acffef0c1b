#pragma once

#include <QFont>

namespace ai::ui {

// The system's sans-serif at the size the layouts of both windows were designed for.
QFont designFont();

} // namespace ai::ui
