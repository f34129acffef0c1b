#pragma once

#include "correlation/grey_image.h"

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

    // The interpolated grey level at (x, y); `covers(x, y)` must hold.
    double value(double x, double y) const;

    // The spline's gradient at the pixel (column, row), one pixel inside the rectangle.
    void gradientAtPixel(int column, int row, double& dx, double& dy) const;

private:
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
