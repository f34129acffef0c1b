#include "correlation/bspline_window.h"

#include <algorithm>
#include <cmath>

namespace ai {

namespace {

// The pole of the cubic B-spline's inverse filter.
constexpr double kPole = -0.26794919243112270; // sqrt(3) - 2

// Turns samples into B-spline coefficients in place, one line of `count` values `stride`
// apart, with mirrored ends (Unser's recursive filter).
void prefilterLine(double* line, int count, std::size_t stride)
{
    auto at = [&](int k) -> double& { return line[static_cast<std::size_t>(k) * stride]; };
    // Causal start: the mirrored sum, cut where the pole's powers no longer count.
    const int horizon = std::min(count, 30);
    double sum = at(0);
    double power = kPole;
    for (int k = 1; k < horizon; ++k) {
        sum += power * at(k);
        power *= kPole;
    }
    at(0) = sum;
    for (int k = 1; k < count; ++k)
        at(k) += kPole * at(k - 1);
    at(count - 1) = (kPole / (kPole * kPole - 1.0)) * (at(count - 1) + kPole * at(count - 2));
    for (int k = count - 2; k >= 0; --k)
        at(k) = kPole * (at(k + 1) - at(k));
    for (int k = 0; k < count; ++k)
        at(k) *= 6.0;
}

// The four cubic B-spline weights of the samples i-1 .. i+2 at i + t, 0 <= t < 1.
void weights(double t, double w[4])
{
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double s = 1.0 - t;
    w[0] = s * s * s / 6.0;
    w[1] = (4.0 - 6.0 * t2 + 3.0 * t3) / 6.0;
    w[2] = (1.0 + 3.0 * t + 3.0 * t2 - 3.0 * t3) / 6.0;
    w[3] = t3 / 6.0;
}

} // namespace

BSplineWindow::BSplineWindow(const GreyImage& image, int left, int top, int width, int height)
    : left_(left), top_(top), width_(width), height_(height),
      coefficients_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
{
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            coefficients_[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                          static_cast<std::size_t>(column)] = image.at(left + column, top + row);
    for (int row = 0; row < height; ++row)
        prefilterLine(&coefficients_[static_cast<std::size_t>(row) * static_cast<std::size_t>(width)],
                      width, 1);
    for (int column = 0; column < width; ++column)
        prefilterLine(&coefficients_[static_cast<std::size_t>(column)], height,
                      static_cast<std::size_t>(width));
}

double BSplineWindow::value(double x, double y) const
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    double wx[4];
    double wy[4];
    weights(x - fx, wx);
    weights(y - fy, wy);
    const int column = static_cast<int>(fx) - 1;
    const int row = static_cast<int>(fy) - 1;
    double sum = 0.0;
    for (int j = 0; j < 4; ++j) {
        const double* line = &coefficients_[static_cast<std::size_t>(row + j - top_) *
                                                static_cast<std::size_t>(width_) +
                                            static_cast<std::size_t>(column - left_)];
        sum += wy[j] * (wx[0] * line[0] + wx[1] * line[1] + wx[2] * line[2] + wx[3] * line[3]);
    }
    return sum;
}

void BSplineWindow::gradientAtPixel(int column, int row, double& dx, double& dy) const
{
    // At a knot the weights are (1, 4, 1) / 6 and the derivative's are (-1, 0, 1) / 2.
    auto smoothX = [&](int r) {
        return (coefficient(column - 1, r) + 4.0 * coefficient(column, r) + coefficient(column + 1, r)) /
               6.0;
    };
    auto slopeX = [&](int r) { return (coefficient(column + 1, r) - coefficient(column - 1, r)) / 2.0; };
    dx = (slopeX(row - 1) + 4.0 * slopeX(row) + slopeX(row + 1)) / 6.0;
    dy = (smoothX(row + 1) - smoothX(row - 1)) / 2.0;
}

} // namespace ai
