#pragma once

#include "model/colour.h"

namespace ai {

// The two blue-to-red scales of the stress map, for a ratio r from 0 (minimum) to 1
// (maximum); r outside 0..1 is clamped. Components above 255 are drawn as 255.
Rgb rampA(double r); // node dots
Rgb rampB(double r); // triangle points and the colour bar

} // namespace ai
