#include "analysis/colour_ramps.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace ai {

namespace {

// The whole part of a component, saturated to what can be drawn.
std::uint8_t component(double value)
{
    return static_cast<std::uint8_t>(std::clamp(std::floor(value), 0.0, 255.0));
}

} // namespace

Rgb rampA(double r)
{
    if (r > 0.5) {
        r = std::min(r, 1.0);
        return {component((r - 0.5) * 2 * 255), component(255 - (r - 0.5) * 2 * 250), 0};
    }
    r = std::max(r, 0.0);
    return {0, component(r * 2 * 255), component(255 - r * 2 * 250)};
}

Rgb rampB(double r)
{
    if (r > 0.5) {
        r = std::min(r, 1.0);
        return {component(r * 255), component(255 - (r - 0.5) * 1.5 * 250), 0};
    }
    r = std::max(r, 0.0);
    return {0, component(r * 3 * 255), component(255 - r * 250)};
}

} // namespace ai
