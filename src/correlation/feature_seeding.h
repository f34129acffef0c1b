#pragma once

#include "correlation/grey_image.h"
#include "correlation/subset_refinement.h"

#include <optional>
#include <vector>

namespace ai {

// The point (x, y) of the free photograph, in pixels, goes to (a x + b y + c, d x + e y + f)
// on the loaded one near it: a local affine map, rotations of any angle included.
struct LocalMotion {
    double a = 1.0, b = 0.0, c = 0.0, d = 0.0, e = 1.0, f = 0.0;

    // The warp of a subset centred at the pixel (column, row) under this motion.
    AffineWarp warpAt(double column, double row) const
    {
        return {a * column + b * row + c - column, a - 1.0, b,
                d * column + e * row + f - row,    d,       e - 1.0};
    }
};

// For each point (pixels on the free photograph), the motion fitted robustly (RANSAC) to
// the keypoints matched between the photographs around it; nothing where too few matches
// agree. For motions a search around a guess cannot reach: large rotations and jumps.
std::vector<std::optional<LocalMotion>> featureMotions(const GreyImage& free, const GreyImage& loaded,
                                                       const std::vector<double>& x,
                                                       const std::vector<double>& y);

} // namespace ai
