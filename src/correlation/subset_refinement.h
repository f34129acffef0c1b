#pragma once

#include "correlation/grey_image.h"

#include <Eigen/Core>

#include <optional>

namespace ai {

// The first-order shape of a subset: the displacement of its centre and its gradient,
// in pixels. A point at offset (dx, dy) from the free centre goes to
// (dx + u + ux dx + uy dy, dy + v + vx dx + vy dy) from it.
struct AffineWarp {
    double u = 0.0;
    double ux = 0.0;
    double uy = 0.0;
    double v = 0.0;
    double vx = 0.0;
    double vy = 0.0;
};

struct SubsetFit {
    AffineWarp warp;
    double zncc = 0.0;
    // The covariance of (u, ux, uy, v, vx, vy) from the grey-level noise, pixels squared.
    Eigen::Matrix<double, 6, 6> covariance;
    int iterations = 0;
};

// Refines the warp of the free subset centred at the pixel (column, row), of half-width
// `half`, by inverse-compositional Gauss-Newton on the zero-normalised sum of squared
// differences, the loaded photograph interpolated by cubic B-spline. Stops when the update
// falls below 1e-3 pixel or after 30 iterations. Nothing when the subset or its warped
// image leaves a photograph, or a subset is flat.
std::optional<SubsetFit> refineSubset(const GreyImage& free, int column, int row, int half,
                                      const GreyImage& loaded, const AffineWarp& start);

} // namespace ai
