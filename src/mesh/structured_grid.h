#pragma once

#include "model/project_state.h"

namespace ai {

// The deformation bars' value that leaves the loaded spacing equal to the free one.
inline constexpr int kNoDeformation = 1000;

// The ten bars of the grid panel, in view units.
struct GridBars {
    int columns = 2;                   // NX, HScroll1
    int rows = 2;                      // NY, VScroll1
    int spacingX = 150;                // SX, HScroll2: node spacing on the free image
    int spacingY = 150;                // SY, VScroll2
    int deformationX = kNoDeformation; // GX, HScroll3: loaded spacing is SX + GX - 1000
    int deformationY = kNoDeformation; // GY, VScroll3
    int freeX = 0;                     // FX, HScroll4: first node on the free image
    int freeY = 0;                     // FY, VScroll4
    int loadX = 0;                     // LX, HScroll5: first node on the loaded image
    int loadY = 0;                     // LY, VScroll5
};

// Nodes and triangles a grid adds: NX x NY and 2 (NX - 1)(NY - 1).
int gridNodeCount(const GridBars& bars);
int gridElementCount(const GridBars& bars);

struct GridOutcome {
    bool built = false;
    int nodeRoom = 0;    // nodes the tables can still take after the base
    int elementRoom = 0; // likewise for triangles
};

// Appends the grid after the present nodes and triangles: its NX x NY nodes (numbered down
// each column) and its triangles (the first triangle of every cell, then the second ones).
// A grid that does not fit in the tables is refused: false, and the study is unchanged.
bool appendGrid(ProjectState& state, const GridBars& bars);

// Replaces the grid: removes every node and triangle numbered after the base counts,
// then appends the grid as appendGrid does. A grid that does not fit is refused: the study
// is left without a grid.
//
// Before that, base counts that an erase left above the present counts are lowered to
// them, and the node base is raised to the highest node that a triangle at or below the
// element base still uses, so that no kept triangle loses a corner.
// Columns and rows are at least 1.
GridOutcome rebuildStructuredGrid(ProjectState& state, const GridBars& bars);

} // namespace ai
