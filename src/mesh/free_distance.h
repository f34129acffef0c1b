#pragma once

#include "model/project_state.h"

#include <cmath>

namespace ai {

// Distance of two positions in double precision, computed exactly as the mesher's
// procedure states it (no hypot, whose rounding differs), so that ties and the strict
// comparisons fall the same way.
inline double freeDistance(const Position& a, const Position& b)
{
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace ai
