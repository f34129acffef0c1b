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
    // The peak's sub-pixel offset from (column, row) by a parabola through its neighbours,
    // within half a pixel: a start close enough to save the refinement an iteration or two.
    double offsetColumn = 0.0;
    double offsetRow = 0.0;
};

// Nothing when the free subset leaves its photograph or is flat, or no candidate fits.
// The scores of all candidates come from one cross-correlation by FFT, so the cost grows
// with the search window's area only as N log N.
std::optional<WholePixelMatch> searchWholePixel(const GreyImage& free, int column, int row,
                                                int half, const GreyImage& loaded,
                                                int guessColumn, int guessRow, int radius);

} // namespace ai
