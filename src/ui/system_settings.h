#pragma once

#include "shell/main_controller.h"

class QLocale;
class QPalette;

namespace ai::ui {

// The user's decimal separator and the colour of selected items, as the core needs them.
Settings systemSettings(const QLocale& locale, const QPalette& palette);

} // namespace ai::ui
