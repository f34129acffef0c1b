#include "correlation/subset_refinement.h"

#include "correlation/bspline_window.h"

#include <Eigen/Cholesky>
#include <Eigen/LU>

#include <Eigen/StdVector>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace ai {

namespace {

constexpr double kTolerance = 1e-3; // pixels
constexpr int kMaxIterations = 30;
// Pixels kept around the evaluated points so that the prefilter's mirrored ends do not
// reach them (0.268^10 < 2e-6 of a grey level step).
constexpr int kPrefilterPadding = 10;

// The shape functions as Gauss-Newton sees them: N parameters, the derivative of a point's
// position along them, and the composition of a warp with the inverse of an update.
template <int N> struct Shape;

template <> struct Shape<6> {
    using Vector = Eigen::Matrix<double, 6, 1>;
    static constexpr std::array<int, 6> kSlots{0, 1, 2, 6, 7, 8};
    // Parameter n's steepest descent image is the gradient along kAxis[n] times
    // kFactor[n] dx^kPowerX[n] dy^kPowerY[n].
    static constexpr std::array<int, 6> kAxis{0, 0, 0, 1, 1, 1};
    static constexpr std::array<int, 6> kPowerX{0, 1, 0, 0, 1, 0};
    static constexpr std::array<int, 6> kPowerY{0, 0, 1, 0, 0, 1};
    static constexpr std::array<double, 6> kFactor{1, 1, 1, 1, 1, 1};
    static Eigen::Matrix3d matrix(const Vector& p)
    {
        Eigen::Matrix3d m;
        m << 1.0 + p(1), p(2), p(0), p(4), 1.0 + p(5), p(3), 0.0, 0.0, 1.0;
        return m;
    }
    static Vector compose(const Vector& p, const Vector& step)
    {
        const Eigen::Matrix3d m = matrix(p) * matrix(step).inverse();
        Vector q;
        q << m(0, 2), m(0, 0) - 1.0, m(0, 1), m(1, 2), m(1, 0), m(1, 1) - 1.0;
        return q;
    }
    static double size(const Vector& step, double half)
    {
        return std::sqrt(step(0) * step(0) + step(3) * step(3) +
                         half * half * (step(1) * step(1) + step(2) * step(2) +
                                        step(4) * step(4) + step(5) * step(5)));
    }
};

template <> struct Shape<12> {
    using Vector = Eigen::Matrix<double, 12, 1>;
    static constexpr std::array<int, 12> kSlots{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    static constexpr std::array<int, 12> kAxis{0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1};
    static constexpr std::array<int, 12> kPowerX{0, 1, 0, 2, 1, 0, 0, 1, 0, 2, 1, 0};
    static constexpr std::array<int, 12> kPowerY{0, 0, 1, 0, 1, 2, 0, 0, 1, 0, 1, 2};
    static constexpr std::array<double, 12> kFactor{1, 1, 1, 0.5, 1, 0.5,
                                                    1, 1, 1, 0.5, 1, 0.5};
    // The warp acting on (dx^2, dx dy, dy^2, dx, dy, 1), kept to the second order, so
    // that warps compose as matrices.
    static Eigen::Matrix<double, 6, 6> matrix(const Vector& p)
    {
        const double a1 = p(3) / 2.0, a2 = p(4), a3 = p(5) / 2.0, a4 = 1.0 + p(1), a5 = p(2), a6 = p(0);
        const double b1 = p(9) / 2.0, b2 = p(10), b3 = p(11) / 2.0, b4 = p(7), b5 = 1.0 + p(8),
                     b6 = p(6);
        Eigen::Matrix<double, 6, 6> m;
        m << a4 * a4 + 2 * a6 * a1, 2 * a4 * a5 + 2 * a6 * a2, a5 * a5 + 2 * a6 * a3, 2 * a4 * a6,
            2 * a5 * a6, a6 * a6,
            a4 * b4 + a6 * b1 + b6 * a1, a4 * b5 + a5 * b4 + a6 * b2 + b6 * a2,
            a5 * b5 + a6 * b3 + b6 * a3, a4 * b6 + a6 * b4, a5 * b6 + a6 * b5, a6 * b6,
            b4 * b4 + 2 * b6 * b1, 2 * b4 * b5 + 2 * b6 * b2, b5 * b5 + 2 * b6 * b3, 2 * b4 * b6,
            2 * b5 * b6, b6 * b6,
            a1, a2, a3, a4, a5, a6,
            b1, b2, b3, b4, b5, b6,
            0, 0, 0, 0, 0, 1;
        return m;
    }
    static Vector compose(const Vector& p, const Vector& step)
    {
        const Eigen::Matrix<double, 6, 6> m = matrix(p) * matrix(step).inverse();
        Vector q;
        q << m(3, 5), m(3, 3) - 1.0, m(3, 4), 2.0 * m(3, 0), m(3, 1), 2.0 * m(3, 2), m(4, 5),
            m(4, 3), m(4, 4) - 1.0, 2.0 * m(4, 0), m(4, 1), 2.0 * m(4, 2);
        return q;
    }
    static double size(const Vector& step, double half)
    {
        const double h2 = half * half;
        double first = 0.0;
        double second = 0.0;
        for (const int i : {1, 2, 7, 8})
            first += step(i) * step(i);
        for (const int i : {3, 4, 5, 9, 10, 11})
            second += step(i) * step(i);
        return std::sqrt(step(0) * step(0) + step(6) * step(6) + h2 * first +
                         h2 * h2 / 4.0 * second);
    }
};

// Sums over a subset of the gradients' products (fx fx, fx fy, fy fy) times the powers
// dx^a dy^b of the offsets, a + b up to 4: every entry of a Hessian of the shapes is one
// of them, which costs a few multiply-adds per pixel rather than one per entry.
struct GradientMoments {
    double sums[3][5][5] = {};

    // `fx` and `fy` hold the subset's gradients row by row, offsets -half .. half.
    template <int Degree>
    static GradientMoments of(const Eigen::VectorXd& fx, const Eigen::VectorXd& fy, int half)
    {
        GradientMoments m;
        Eigen::Index i = 0;
        for (int j = -half; j <= half; ++j) {
            double row[3][Degree + 1] = {};
            for (int k = -half; k <= half; ++k, ++i) {
                const double products[3] = {fx(i) * fx(i), fx(i) * fy(i), fy(i) * fy(i)};
                double powers[Degree + 1];
                powers[0] = 1.0;
                for (int a = 1; a <= Degree; ++a)
                    powers[a] = powers[a - 1] * k;
                for (int g = 0; g < 3; ++g)
                    for (int a = 0; a <= Degree; ++a)
                        row[g][a] += products[g] * powers[a];
            }
            double power = 1.0;
            for (int b = 0; b <= Degree; ++b, power *= j)
                for (int a = 0; a + b <= Degree; ++a)
                    for (int g = 0; g < 3; ++g)
                        m.sums[g][a][b] += row[g][a] * power;
        }
        return m;
    }

    template <int N> Eigen::Matrix<double, N, N> hessian() const
    {
        using S = Shape<N>;
        Eigen::Matrix<double, N, N> h;
        for (std::size_t m = 0; m < N; ++m)
            for (std::size_t n = 0; n < N; ++n)
                h(static_cast<Eigen::Index>(m), static_cast<Eigen::Index>(n)) =
                    S::kFactor[m] * S::kFactor[n] *
                    sums[S::kAxis[m] + S::kAxis[n]][S::kPowerX[m] + S::kPowerX[n]]
                        [S::kPowerY[m] + S::kPowerY[n]];
        return h;
    }
};

// The sum over a subset of each parameter's steepest descent image times `values` (all
// three row by row, offsets -half .. half): sums along each row of the gradients times the
// values and the powers of dx, completed by the powers of dy at the row's end.
template <int N>
typename Shape<N>::Vector steepestProduct(const Eigen::VectorXd& fx, const Eigen::VectorXd& fy,
                                          const Eigen::VectorXd& values, int half)
{
    using S = Shape<N>;
    constexpr int kDegree = N == 6 ? 1 : 2;
    typename S::Vector total = S::Vector::Zero();
    Eigen::Index i = 0;
    for (int j = -half; j <= half; ++j) {
        double row[2][kDegree + 1] = {};
        for (int k = -half; k <= half; ++k, ++i) {
            const double along[2] = {fx(i) * values(i), fy(i) * values(i)};
            double power = 1.0;
            for (int a = 0; a <= kDegree; ++a, power *= k)
                for (int g = 0; g < 2; ++g)
                    row[g][a] += along[g] * power;
        }
        double powers[kDegree + 1];
        powers[0] = 1.0;
        for (int b = 1; b <= kDegree; ++b)
            powers[b] = powers[b - 1] * j;
        for (std::size_t n = 0; n < N; ++n)
            total(static_cast<Eigen::Index>(n)) +=
                S::kFactor[n] * row[S::kAxis[n]][S::kPowerX[n]] * powers[S::kPowerY[n]];
    }
    return total;
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

// The caller's spline when it reaches `reach` pixels around (column, row), else a window.
struct SplineAround {
    std::optional<BSplineWindow> own;
    const BSplineWindow* spline = nullptr;

    SplineAround(const BSplineWindow* shared, const GreyImage& image, int column, int row, int reach)
    {
        const int inner = reach - kPrefilterPadding;
        if (shared && shared->covers(column - inner, row - inner) &&
            shared->covers(column + inner, row + inner)) {
            spline = shared;
            return;
        }
        own = windowAround(image, column, row, reach);
        if (own)
            spline = &*own;
    }
};

template <int N>
std::optional<SubsetFit> refine(const GreyImage& free, int column, int row, int half,
                                const GreyImage& loaded, const ShapeParameters& start,
                                const PrefilteredPair& prefiltered, bool predictSecondOrder)
{
    using Vector = typename Shape<N>::Vector;
    using Matrix = Eigen::Matrix<double, N, N>;
    // The reference subset and one pixel around it for the gradients lie in the photograph.
    if (column - half - 1 < 0 || row - half - 1 < 0 || column + half + 1 >= free.width ||
        row + half + 1 >= free.height)
        return std::nullopt;
    const SplineAround freeSpline(prefiltered.free, free, column, row, half + 1 + kPrefilterPadding);
    if (!freeSpline.spline)
        return std::nullopt;
    const BSplineWindow& freeWindow = *freeSpline.spline;

    const int side = 2 * half + 1;
    const std::size_t count = static_cast<std::size_t>(side) * static_cast<std::size_t>(side);
    const auto columns = static_cast<Eigen::Index>(count);
    // The reference subset and its gradients; the steepest descent images are their
    // products with powers of the offsets, never stored.
    Eigen::VectorXd reference(columns);
    Eigen::VectorXd fx(columns);
    Eigen::VectorXd fy(columns);
    Eigen::Index i = 0;
    for (int j = -half; j <= half; ++j)
        for (int k = -half; k <= half; ++k, ++i) {
            reference(i) = free.at(column + k, row + j);
            freeWindow.gradientAtPixel(column + k, row + j, fx(i), fy(i));
        }
    reference.array() -= reference.mean();
    const double spread = reference.squaredNorm();
    const bool predicting = N == 6 && predictSecondOrder;
    const GradientMoments moments = N == 12 || predicting ? GradientMoments::of<4>(fx, fy, half)
                                                          : GradientMoments::of<2>(fx, fy, half);
    const Matrix hessian = moments.hessian<N>();
    const double freeNorm = std::sqrt(spread);
    const Eigen::LDLT<Matrix> solver(hessian);
    if (freeNorm <= 0.0 || solver.info() != Eigen::Success || !solver.isPositive())
        return std::nullopt;

    Vector p;
    for (int n = 0; n < N; ++n)
        p(n) = start(Shape<N>::kSlots[static_cast<std::size_t>(n)]);
    // The loaded window holds the warped subset with room for a few pixels of motion.
    const double stretch = std::fabs(start(1)) + std::fabs(start(2)) + std::fabs(start(7)) +
                           std::fabs(start(8));
    const int reach = half + 3 + static_cast<int>(std::ceil(stretch * half)) + kPrefilterPadding;
    const SplineAround loadedSpline(prefiltered.loaded, loaded,
                                    column + static_cast<int>(std::lround(start(0))),
                                    row + static_cast<int>(std::lround(start(6))), reach);
    if (!loadedSpline.spline)
        return std::nullopt;
    const BSplineWindow& loadedWindow = *loadedSpline.spline;

    // One pass over the subset per iteration: the reference is zero-mean, so the ZNSSD's
    // gradient and residual follow from sums of the warped levels, their squares and their
    // products with the reference and its steepest descent images.
    const Vector steepestSum = steepestProduct<N>(fx, fy, Eigen::VectorXd::Ones(columns), half);
    const Vector steepestReference = steepestProduct<N>(fx, fy, reference, half);
    Eigen::VectorXd warped(columns);
    Vector gradient = Vector::Zero();
    double scale = 0.0;
    double warpedMean = 0.0;
    SubsetFit fit;
    for (int iteration = 1; iteration <= kMaxIterations; ++iteration) {
        fit.iterations = iteration;
        ShapeParameters full = ShapeParameters::Zero();
        for (int n = 0; n < N; ++n)
            full(Shape<N>::kSlots[static_cast<std::size_t>(n)]) = p(n);
        i = 0;
        if constexpr (N == 6) {
            // An affine subset's image is the parallelogram of its corners, and a row's
            // points are evenly spaced along it.
            for (const int cy : {-half, half})
                for (const int cx : {-half, half})
                    if (!loadedWindow.covers(column + cx + full(0) + full(1) * cx + full(2) * cy,
                                             row + cy + full(6) + full(7) * cx + full(8) * cy))
                        return std::nullopt;
            for (int j = -half; j <= half; ++j) {
                double x = column - half + full(0) - full(1) * half + full(2) * j;
                double y = row + j + full(6) - full(7) * half + full(8) * j;
                for (int k = -half; k <= half; ++k, ++i, x += 1.0 + full(1), y += full(7))
                    warped(i) = loadedWindow.value(x, y);
            }
        } else {
            for (int j = -half; j <= half; ++j)
                for (int k = -half; k <= half; ++k, ++i) {
                    const double dx = k;
                    const double dy = j;
                    const double quadratic[3] = {dx * dx / 2.0, dx * dy, dy * dy / 2.0};
                    const double x = column + dx + full(0) + full(1) * dx + full(2) * dy +
                                     full(3) * quadratic[0] + full(4) * quadratic[1] +
                                     full(5) * quadratic[2];
                    const double y = row + dy + full(6) + full(7) * dx + full(8) * dy +
                                     full(9) * quadratic[0] + full(10) * quadratic[1] +
                                     full(11) * quadratic[2];
                    if (!loadedWindow.covers(x, y))
                        return std::nullopt;
                    warped(i) = loadedWindow.value(x, y);
                }
        }
        const double sum = warped.sum();
        const double squares = warped.squaredNorm();
        const double product = reference.dot(warped);
        const Vector steepestWarped = steepestProduct<N>(fx, fy, warped, half);
        warpedMean = sum / static_cast<double>(count);
        const double warpedSpread = squares - sum * warpedMean;
        if (!(warpedSpread > 1e-9 * squares))
            return std::nullopt;
        const double warpedNorm = std::sqrt(warpedSpread);
        fit.zncc = product / (freeNorm * warpedNorm);

        // Residuals reference - scale (warped - mean), in the free photograph's grey levels.
        scale = freeNorm / warpedNorm;
        gradient = steepestReference - scale * (steepestWarped - warpedMean * steepestSum);
        fit.residualSquares = std::max(2.0 * spread * (1.0 - fit.zncc), 0.0);
        const Vector step = -solver.solve(gradient);
        p = Shape<N>::compose(p, step);
        if (!p.allFinite())
            return std::nullopt;
        if (Shape<N>::size(step, half) < kTolerance)
            break;
    }
    fit.order = N == 6 ? ShapeOrder::First : ShapeOrder::Second;
    fit.pixels = static_cast<int>(count);
    if (predicting) {
        // One Gauss-Newton step of the quadratic shape from the affine fit's last residuals:
        // what it would remove beyond what the affine step still removes.
        const Eigen::VectorXd residual = reference - scale * (warped.array() - warpedMean).matrix();
        const Shape<12>::Vector wider = steepestProduct<12>(fx, fy, residual, half);
        const Eigen::LDLT<Eigen::Matrix<double, 12, 12>> widerSolver(moments.hessian<12>());
        if (widerSolver.info() == Eigen::Success && widerSolver.isPositive())
            fit.secondOrderGain = std::max(wider.dot(widerSolver.solve(wider)) -
                                               gradient.dot(solver.solve(gradient)),
                                           0.0);
    }
    for (int n = 0; n < N; ++n)
        fit.shape(Shape<N>::kSlots[static_cast<std::size_t>(n)]) = p(n);
    // Gauss-Newton's covariance with the noise of the fit's own residual: it holds the
    // noise of both photographs.
    const double noise = fit.residualSquares / static_cast<double>(count - N);
    const Matrix inverse = solver.solve(Matrix::Identity());
    for (int a = 0; a < N; ++a)
        for (int b = 0; b < N; ++b)
            fit.covariance(Shape<N>::kSlots[static_cast<std::size_t>(a)],
                           Shape<N>::kSlots[static_cast<std::size_t>(b)]) = noise * inverse(a, b);
    return fit;
}

} // namespace

Eigen::Matrix<double, 2, 12> SubsetFit::displacementAt(double dx, double dy)
{
    Eigen::Matrix<double, 2, 12> along = Eigen::Matrix<double, 2, 12>::Zero();
    const double terms[6] = {1.0, dx, dy, dx * dx / 2.0, dx * dy, dy * dy / 2.0};
    for (int n = 0; n < 6; ++n) {
        along(0, n) = terms[n];
        along(1, 6 + n) = terms[n];
    }
    return along;
}

ShapeParameters shapeOf(const AffineWarp& w)
{
    ShapeParameters p = ShapeParameters::Zero();
    p(0) = w.u;
    p(1) = w.ux;
    p(2) = w.uy;
    p(6) = w.v;
    p(7) = w.vx;
    p(8) = w.vy;
    return p;
}

std::optional<SubsetFit> refineSubset(const GreyImage& free, int column, int row, int half,
                                      const GreyImage& loaded, const ShapeParameters& start,
                                      ShapeOrder order, const PrefilteredPair& prefiltered,
                                      bool predictSecondOrder)
{
    return order == ShapeOrder::First
               ? refine<6>(free, column, row, half, loaded, start, prefiltered, predictSecondOrder)
               : refine<12>(free, column, row, half, loaded, start, prefiltered, false);
}

} // namespace ai
