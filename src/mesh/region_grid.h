#pragma once

#include "mesh/structured_grid.h"
#include "model/project_state.h"

namespace ai {

// A rectangle drawn on the free photograph, corners in whole pixels and in any order.
struct PixelRegion {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;

    int width() const { return x1 > x0 ? x1 - x0 : x0 - x1; }
    int height() const { return y1 > y0 ? y1 - y0 : y0 - y1; }
};

// The widest node spacing in pixels that still gives two nodes along each side: the
// shorter side. 0 when the region has no area.
int largestRegionStep(const PixelRegion& region);

// The structured grid that covers the region from its top-left corner with nodes `step`
// pixels apart, as many as fit inside; loaded positions equal free ones.
GridBars regionGridBars(const PixelRegion& region, int step);

// The smallest spacing (the densest grid) whose grid fits after the study's present nodes
// and triangles; 0 when none does.
int finestFittingStep(const ProjectState& state, const PixelRegion& region);

} // namespace ai
