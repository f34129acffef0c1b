#pragma once

#include "model/colour.h"
#include "model/number_text.h"

#include <string>
#include <vector>

namespace ai {

// The scale of a readable map: round ticks over the values' range, either diverging about
// zero (blue for negative, white at zero, red for positive) or the study's own blue-to-red
// ramp from the lowest tick to the highest.
struct ColourScale {
    double minimum = 0.0; // the lowest tick
    double maximum = 1.0; // the highest tick
    bool diverging = false;
    double step = 0.2;
    std::vector<double> ticks; // five to ten, from minimum to maximum

    Rgb colour(double value) const;
    // A tick's text with the decimals its step needs, in the user's number format.
    std::string tickText(double tick, const NumberFormat& format) const;
};

// Ticks at round steps (1, 2, 2.5 or 5 times a power of ten) enclosing [low, high]: five to
// ten of them, over the shortest bar that holds the range. A diverging scale is symmetric
// about zero. A range of no width is widened around its value.
ColourScale roundScale(double low, double high, bool diverging);

} // namespace ai
