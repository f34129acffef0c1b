#include "correlation/subset_refinement.h"

#include "correlation/bspline_window.h"

#include <Eigen/Cholesky>
#include <Eigen/LU>

#include <algorithm>
#include <cmath>
#include <vector>

namespace ai {

namespace {

constexpr double kTolerance = 1e-3; // pixels
constexpr int kMaxIterations = 30;
// Pixels kept around the evaluated points so that the prefilter's mirrored ends do not
// reach them (0.268^10 < 2e-6 of a grey level step).
constexpr int kPrefilterPadding = 10;

using Vector6 = Eigen::Matrix<double, 6, 1>;
using Matrix3 = Eigen::Matrix3d;

Matrix3 toMatrix(const AffineWarp& w)
{
    Matrix3 m;
    m << 1.0 + w.ux, w.uy, w.u, w.vx, 1.0 + w.vy, w.v, 0.0, 0.0, 1.0;
    return m;
}

AffineWarp fromMatrix(const Matrix3& m)
{
    return {m(0, 2), m(0, 0) - 1.0, m(0, 1), m(1, 2), m(1, 0), m(1, 1) - 1.0};
}

// The square of pixels around (column, row) reaching `reach`, cut to the picture.
std::optional<BSplineWindow> windowAround(const GreyImage& image, int column, int row, int reach)
{
    const int left = std::max(column - reach, 0);
    const int top = std::max(row - reach, 0);
    const int right = std::min(column + reach, image.width - 1);
    const int bottom = std::min(row + reach, image.height - 1);
    if (right - left < 4 || bottom - top < 4)
        return std::nullopt;
    return BSplineWindow(image, left, top, right - left + 1, bottom - top + 1);
}

} // namespace

std::optional<SubsetFit> refineSubset(const GreyImage& free, int column, int row, int half,
                                      const GreyImage& loaded, const AffineWarp& start)
{
    // The reference subset and one pixel around it for the gradients lie in the photograph.
    if (column - half - 1 < 0 || row - half - 1 < 0 || column + half + 1 >= free.width ||
        row + half + 1 >= free.height)
        return std::nullopt;
    const auto freeWindow = windowAround(free, column, row, half + 1 + kPrefilterPadding);
    if (!freeWindow)
        return std::nullopt;

    const int side = 2 * half + 1;
    const std::size_t count = static_cast<std::size_t>(side) * static_cast<std::size_t>(side);
    std::vector<double> reference(count);
    std::vector<Vector6> steepest(count);
    double mean = 0.0;
    for (int j = -half; j <= half; ++j)
        for (int k = -half; k <= half; ++k)
            mean += free.at(column + k, row + j);
    mean /= static_cast<double>(count);

    Eigen::Matrix<double, 6, 6> hessian = Eigen::Matrix<double, 6, 6>::Zero();
    double spread = 0.0;
    std::size_t i = 0;
    for (int j = -half; j <= half; ++j)
        for (int k = -half; k <= half; ++k, ++i) {
            reference[i] = free.at(column + k, row + j) - mean;
            spread += reference[i] * reference[i];
            double fx = 0.0;
            double fy = 0.0;
            freeWindow->gradientAtPixel(column + k, row + j, fx, fy);
            steepest[i] << fx, fx * k, fx * j, fy, fy * k, fy * j;
            hessian.selfadjointView<Eigen::Lower>().rankUpdate(steepest[i]);
        }
    hessian = hessian.selfadjointView<Eigen::Lower>();
    const double freeNorm = std::sqrt(spread);
    const Eigen::LDLT<Eigen::Matrix<double, 6, 6>> solver(hessian);
    if (freeNorm <= 0.0 || solver.info() != Eigen::Success || !solver.isPositive())
        return std::nullopt;

    // The loaded window holds the warped subset with room for a few pixels of motion.
    const double stretch = std::fabs(start.ux) + std::fabs(start.uy) + std::fabs(start.vx) +
                           std::fabs(start.vy);
    const int reach = half + 3 + static_cast<int>(std::ceil(stretch * half)) + kPrefilterPadding;
    const auto loadedWindow = windowAround(loaded, column + static_cast<int>(std::lround(start.u)),
                                           row + static_cast<int>(std::lround(start.v)), reach);
    if (!loadedWindow)
        return std::nullopt;

    SubsetFit fit;
    AffineWarp warp = start;
    std::vector<double> warped(count);
    double residualSquares = 0.0;
    for (int iteration = 1; iteration <= kMaxIterations; ++iteration) {
        fit.iterations = iteration;
        double warpedMean = 0.0;
        i = 0;
        for (int j = -half; j <= half; ++j)
            for (int k = -half; k <= half; ++k, ++i) {
                const double x = column + k + warp.u + warp.ux * k + warp.uy * j;
                const double y = row + j + warp.v + warp.vx * k + warp.vy * j;
                if (!loadedWindow->covers(x, y))
                    return std::nullopt;
                warped[i] = loadedWindow->value(x, y);
                warpedMean += warped[i];
            }
        warpedMean /= static_cast<double>(count);
        double warpedSpread = 0.0;
        double product = 0.0;
        for (i = 0; i < count; ++i) {
            warped[i] -= warpedMean;
            warpedSpread += warped[i] * warped[i];
            product += reference[i] * warped[i];
        }
        if (warpedSpread <= 0.0)
            return std::nullopt;
        const double warpedNorm = std::sqrt(warpedSpread);
        fit.zncc = product / (freeNorm * warpedNorm);

        // Residuals in the free photograph's grey levels.
        const double scale = freeNorm / warpedNorm;
        Vector6 gradient = Vector6::Zero();
        residualSquares = 0.0;
        for (i = 0; i < count; ++i) {
            const double residual = reference[i] - scale * warped[i];
            gradient += steepest[i] * residual;
            residualSquares += residual * residual;
        }
        const Vector6 step = -solver.solve(gradient);
        warp = fromMatrix(toMatrix(warp) * toMatrix({step(0), step(1), step(2), step(3), step(4),
                                                     step(5)})
                                               .inverse());
        const double h2 = static_cast<double>(half) * half;
        const double size = std::sqrt(step(0) * step(0) + step(3) * step(3) +
                                      h2 * (step(1) * step(1) + step(2) * step(2) +
                                            step(4) * step(4) + step(5) * step(5)));
        if (size < kTolerance)
            break;
    }
    fit.warp = warp;
    // Gauss-Newton's covariance with the noise of the fit's own residual: it holds the
    // noise of both photographs.
    const double noise = residualSquares / static_cast<double>(count - 6);
    fit.covariance = noise * solver.solve(Eigen::Matrix<double, 6, 6>::Identity());
    return fit;
}

} // namespace ai
