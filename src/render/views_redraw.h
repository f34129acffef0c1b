#pragma once

#include "model/colour.h"
#include "model/project_state.h"
#include "render/image_view.h"

namespace ai {

// Offsets of the five points of a node mark, in drawing order (y grows downwards).
inline constexpr float kMarkOffsets[5][2] = {{0, 0}, {10, 0}, {0, 10}, {0, -10}, {-10, 0}};

// Restores both base images from the remembered files, then draws over them the marks
// of nodes 1 to nodeCount (five passes, free view then loaded view at each step) and
// the three edges of every triangle, edges after marks so that they cover the red.
// Entries without a position, and node numbers outside 1 to NodeCount, are skipped.
void redrawViews(const ProjectState& state, int nodeCount, ImageView& picture1,
                 ImageView& picture2, Rgb edgeColour);

} // namespace ai
