#pragma once

#include "model/project_state.h"

namespace ai::example {

// How finely the plate is meshed. Around the hole an O-grid runs from the hole's edge to
// the square that spans the plate's height; rectangular blocks fill the plate left and
// right of that square.
struct PlateMeshOptions {
    // Divisions around the hole; a multiple of 8, so that the square's corners are nodes.
    int angularDivisions = 32;
    // Rings of nodes from the hole's edge to the square, both included.
    int rings = 12;
    // Thickness of the elements at the top and bottom of the hole, in twips.
    double firstLayer = 54.0;
    // Columns of cells in each side block.
    int sideColumns = 9;
};

// The example's mesh: free positions on the free photograph, loaded positions the exact
// displaced ones (held as 15-digit texts would hold them), every quadrilateral cut in two
// along a diagonal chosen so that the mesh is symmetric about both axes of the hole.
// Replaces the whole study. Returns false, leaving an empty study, when the options would
// need more than 1000 nodes or triangles.
bool buildPlateMesh(const PlateMeshOptions& options, ProjectState& state);

} // namespace ai::example
