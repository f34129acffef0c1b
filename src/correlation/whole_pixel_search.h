#pragma once

#include "correlation/grey_image.h"

#include <optional>

namespace ai {

// The whole-pixel centre on the loaded photograph whose subset best matches, by
// zero-normalised cross-correlation, the subset of the free photograph centred at
// (column, row). Candidates lie within `radius` pixels (square) of (guessColumn, guessRow)
// and only those whose subset lies wholly in the loaded photograph are tried.
struct WholePixelMatch {
    int column = 0;
    int row = 0;
    double zncc = 0.0;
};

// Nothing when the free subset leaves its photograph or is flat, or no candidate fits.
std::optional<WholePixelMatch> searchWholePixel(const GreyImage& free, int column, int row,
                                                int half, const GreyImage& loaded,
                                                int guessColumn, int guessRow, int radius);

} // namespace ai
