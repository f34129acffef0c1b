#pragma once

#include <QRect>

#include <algorithm>
#include <cmath>
#include <optional>

namespace ai::ui {

// The core's unit: twips, 15 to a logical pixel.
inline constexpr int kUnitsPerPixel = 15;

// A layout rectangle given in twips, as logical pixels.
inline QRect pixelRect(int left, int top, int width, int height)
{
    return {left / kUnitsPerPixel, top / kUnitsPerPixel, width / kUnitsPerPixel,
            height / kUnitsPerPixel};
}

// A pointer position in logical pixels, as the core's coordinate.
inline float toUnits(double pixels) { return static_cast<float>(pixels * kUnitsPerPixel); }

// The pixel that holds a coordinate, rounded to the nearest so that the +-10 arms of a
// node mark land on the neighbouring pixels. Far-away coordinates are pulled in to a
// range that any painter clips safely; a coordinate that is not a number has no pixel.
inline std::optional<int> toPixel(float units)
{
    if (!std::isfinite(units))
        return std::nullopt;
    const double pixels = std::clamp(static_cast<double>(units) / kUnitsPerPixel, -1e6, 1e6);
    return static_cast<int>(std::floor(pixels + 0.5));
}

inline std::optional<QPoint> toPixel(float x, float y)
{
    const auto px = toPixel(x);
    const auto py = toPixel(y);
    if (!px || !py)
        return std::nullopt;
    return QPoint(*px, *py);
}

} // namespace ai::ui
