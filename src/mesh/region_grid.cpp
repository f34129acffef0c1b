#include "mesh/region_grid.h"

#include <algorithm>

namespace ai {

namespace {

constexpr int kUnitsPerPixel = static_cast<int>(kTwipsPerPixel);

} // namespace

int largestRegionStep(const PixelRegion& region)
{
    return std::min(region.width(), region.height());
}

GridBars regionGridBars(const PixelRegion& region, int step)
{
    GridBars bars;
    bars.columns = region.width() / step + 1;
    bars.rows = region.height() / step + 1;
    bars.spacingX = bars.spacingY = step * kUnitsPerPixel;
    bars.deformationX = bars.deformationY = kNoDeformation;
    bars.freeX = bars.loadX = std::min(region.x0, region.x1) * kUnitsPerPixel;
    bars.freeY = bars.loadY = std::min(region.y0, region.y1) * kUnitsPerPixel;
    return bars;
}

int finestFittingStep(const ProjectState& state, const PixelRegion& region)
{
    // Counts fall as the step grows: the first step that fits is the finest.
    for (int step = 1; step <= largestRegionStep(region); ++step) {
        const GridBars bars = regionGridBars(region, step);
        if (gridNodeCount(bars) <= kMaxNodes - state.NodeCount &&
            gridElementCount(bars) <= kMaxElements - state.ElementCount)
            return step;
    }
    return 0;
}

} // namespace ai
