#include "correlation/bspline_window.h"

#include <algorithm>

namespace ai {

namespace {

// The pole of the cubic B-spline's inverse filter.
constexpr double kPole = -0.26794919243112270; // sqrt(3) - 2

// Turns samples into B-spline coefficients over 6 in place with mirrored ends (Unser's recursive
// filter), along `lines` independent lines of `count` values: value k of line l sits at
// data[k * step + l * lineStride]. The lines advance together in the inner loops, so that
// the filter's recursion never waits on itself and the loops vectorise.
void prefilterLines(double* data, int count, std::size_t step, int lines, std::size_t lineStride)
{
    auto at = [&](int k, int l) -> double& {
        return data[static_cast<std::size_t>(k) * step + static_cast<std::size_t>(l) * lineStride];
    };
    // Causal start: the mirrored sum, cut where the pole's powers no longer count.
    const int horizon = std::min(count, 30);
    double power = kPole;
    for (int k = 1; k < horizon; ++k) {
        for (int l = 0; l < lines; ++l)
            at(0, l) += power * at(k, l);
        power *= kPole;
    }
    for (int k = 1; k < count; ++k)
        for (int l = 0; l < lines; ++l)
            at(k, l) += kPole * at(k - 1, l);
    const double end = kPole / (kPole * kPole - 1.0);
    for (int l = 0; l < lines; ++l)
        at(count - 1, l) = end * (at(count - 1, l) + kPole * at(count - 2, l));
    for (int k = count - 2; k >= 0; --k)
        for (int l = 0; l < lines; ++l)
            at(k, l) = kPole * (at(k + 1, l) - at(k, l));
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
    const auto stride = static_cast<std::size_t>(width);
    prefilterLines(coefficients_.data(), width, 1, height, stride); // along the rows
    prefilterLines(coefficients_.data(), height, stride, width, 1); // along the columns
}

} // namespace ai
