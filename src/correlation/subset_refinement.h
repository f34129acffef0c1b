#pragma once

#include "correlation/bspline_window.h"
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

// The shape functions a subset can take: affine (6 parameters) or quadratic (12), whose
// curvature follows a field that bends across the subset, as around a hole.
enum class ShapeOrder { First, Second };

// Parameters in the order (u, ux, uy, uxx, uxy, uyy, v, vx, vy, vxx, vxy, vyy); a point at
// offset (dx, dy) moves by u + ux dx + uy dy + uxx dx^2 / 2 + uxy dx dy + uyy dy^2 / 2
// along x, likewise v along y. The second-order terms stay zero for an affine fit.
using ShapeParameters = Eigen::Matrix<double, 12, 1>;

struct SubsetFit {
    ShapeOrder order = ShapeOrder::First;
    ShapeParameters shape = ShapeParameters::Zero();
    double zncc = 0.0;
    // The sum of the squared residuals, in the free photograph's grey levels.
    double residualSquares = 0.0;
    int pixels = 0;
    // The covariance of the parameters from the grey-level noise, pixels squared.
    Eigen::Matrix<double, 12, 12> covariance = Eigen::Matrix<double, 12, 12>::Zero();
    int iterations = 0;
    // For an affine fit asked for it, the drop of `residualSquares` that the quadratic
    // shape promises: one Gauss-Newton step of it from the affine fit's residuals.
    double secondOrderGain = 0.0;

    AffineWarp warp() const { return {shape(0), shape(1), shape(2), shape(6), shape(7), shape(8)}; }
    // How the displacement at the offset (dx, dy) depends on the parameters.
    static Eigen::Matrix<double, 2, 12> displacementAt(double dx, double dy);
};

// B-splines of whole photographs that a caller prefilters once for many subsets; a
// refinement makes its own windows where these are missing or do not reach.
struct PrefilteredPair {
    const BSplineWindow* free = nullptr;
    const BSplineWindow* loaded = nullptr;
};

// Refines the warp of the free subset centred at the pixel (column, row), of half-width
// `half`, by inverse-compositional Gauss-Newton on the zero-normalised sum of squared
// differences, the loaded photograph interpolated by cubic B-spline. Stops when the update
// falls below 1e-3 pixel or after 30 iterations. Nothing when the subset or its warped
// image leaves a photograph, or a subset is flat. With `predictSecondOrder`, an affine fit
// also tells its `secondOrderGain`, for a few per cent of its cost.
std::optional<SubsetFit> refineSubset(const GreyImage& free, int column, int row, int half,
                                      const GreyImage& loaded, const ShapeParameters& start,
                                      ShapeOrder order, const PrefilteredPair& prefiltered = {},
                                      bool predictSecondOrder = false);

// The parameters of an affine warp.
ShapeParameters shapeOf(const AffineWarp& warp);

} // namespace ai
