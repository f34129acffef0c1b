#pragma once

#include "correlation/grey_image.h"

#include <cstring>
#include <vector>

namespace ai {

// The cubic B-spline that interpolates the grey levels of a rectangle of a photograph,
// in pixel coordinates of the whole photograph. Only the rectangle is prefiltered, with
// mirrored ends: the error this leaves at the rectangle's border dies out as 0.268^k over
// k pixels, so callers keep the points they evaluate a few pixels inside.
class BSplineWindow {
public:
    // The rectangle [left, left + width) x [top, top + height), which must lie in the picture
    // and be at least 4 pixels wide and high.
    BSplineWindow(const GreyImage& image, int left, int top, int width, int height);

    // True when the spline's support around (x, y) lies in the rectangle.
    bool covers(double x, double y) const
    {
        return x >= left_ + 1.0 && y >= top_ + 1.0 && x < left_ + width_ - 2.0 &&
               y < top_ + height_ - 2.0;
    }

    // The interpolated grey level at (x, y); `covers(x, y)` must hold. Inline: it is the
    // innermost step of every correlation iteration.
    double value(double x, double y) const
    {
        // covers() keeps x and y positive, where truncation is the floor.
        const int column = static_cast<int>(x);
        const int row = static_cast<int>(y);
        Pair w[4]; // the weights along x in lane 0, along y in lane 1
        weights(Pair{x - column, y - row}, w);
        const Pair x01{w[0][0], w[1][0]};
        const Pair x23{w[2][0], w[3][0]};
        const auto stride = static_cast<std::size_t>(width_);
        const double* line = &coefficients_[static_cast<std::size_t>(row - 1 - top_) * stride +
                                            static_cast<std::size_t>(column - 1 - left_)];
        Pair sum{0.0, 0.0};
        for (int j = 0; j < 4; ++j, line += stride) {
            Pair c01;
            Pair c23;
            std::memcpy(&c01, line, sizeof c01);
            std::memcpy(&c23, line + 2, sizeof c23);
            sum += Pair{w[j][1], w[j][1]} * (x01 * c01 + x23 * c23);
        }
        return sum[0] + sum[1];
    }

    // The spline's gradient at the pixel (column, row), one pixel inside the rectangle.
    void gradientAtPixel(int column, int row, double& dx, double& dy) const
    {
        // At a knot the weights are (1, 4, 1) / 6 and the derivative's are (-1, 0, 1) / 2;
        // the stored coefficients already hold the 1 / 6 of each direction.
        auto smoothX = [&](int r) {
            return coefficient(column - 1, r) + 4.0 * coefficient(column, r) +
                   coefficient(column + 1, r);
        };
        auto slopeX = [&](int r) {
            return 3.0 * (coefficient(column + 1, r) - coefficient(column - 1, r));
        };
        dx = slopeX(row - 1) + 4.0 * slopeX(row) + slopeX(row + 1);
        dy = 3.0 * (smoothX(row + 1) - smoothX(row - 1));
    }

private:
    // Two doubles in one vector register (SSE2, NEON), or two scalars where there is none:
    // the interpolation's arithmetic runs on pairs.
    using Pair = double __attribute__((vector_size(2 * sizeof(double))));

    // Six times the four cubic B-spline weights of the samples i-1 .. i+2 at i + t,
    // 0 <= t < 1, for the two lanes of `t` at once: the coefficients hold the 1 / 6, which
    // spares a division per weight in the innermost step.
    static void weights(Pair t, Pair w[4])
    {
        const Pair one{1.0, 1.0};
        const Pair t2 = t * t;
        const Pair s = one - t;
        w[0] = s * s * s;
        w[1] = Pair{4.0, 4.0} + t2 * (Pair{3.0, 3.0} * t - Pair{6.0, 6.0});
        w[3] = t2 * t;
        w[2] = Pair{6.0, 6.0} - w[0] - w[1] - w[3]; // the weights sum to six
    }

    double coefficient(int column, int row) const
    {
        return coefficients_[static_cast<std::size_t>(row - top_) * static_cast<std::size_t>(width_) +
                             static_cast<std::size_t>(column - left_)];
    }

    int left_;
    int top_;
    int width_;
    int height_;
    std::vector<double> coefficients_;
};

} // namespace ai
