#pragma once

#include "model/project_state.h"

namespace ai {

// Start value of the nearest-neighbour search: larger than any distance between two
// neighbours of one node.
inline constexpr double kNearestSearchStart = 100000.0;

// Replaces the whole mesh by the automatic one over the free positions of the located
// nodes: for every node i and every neighbour a of i (neighbour_lists.h), the triangle
// (i, a, b) with b the other neighbour of i nearest to a (strictly nearer, so ties keep
// the first one found), while fewer than kMaxElements triangles exist. Duplicates, any
// winding and zero-area triangles are kept. distanceLimit is the bar's value D.
void buildAutomaticMesh(ProjectState& state, int distanceLimit);

} // namespace ai
