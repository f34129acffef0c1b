#pragma once

#include "model/number_text.h"
#include "shell/scroll_bars.h"

#include <string>

namespace ai {

// What a bar's value means, with its unit, for the user to read while moving it: counts as
// they are, lengths in photograph pixels (the bars hold view units, 15 a pixel).
std::string barValueText(Bar bar, int value, const NumberFormat& format);

} // namespace ai
