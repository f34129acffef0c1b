#pragma once

#include "correlation/subset_refinement.h"

#include <vector>

namespace ai {

// A node as its neighbours see it: where its subset is centred on the free photograph,
// in pixels, and its warp there, when it was found.
struct Displacement {
    bool found = false;
    double column = 0.0;
    double row = 0.0;
    AffineWarp warp;
};

// For each found node, the found nodes to judge it by: those it shares a triangle with
// (`triangles`, per node), completed with its nearest found nodes when fewer than four.
std::vector<std::vector<int>> consistencyNeighbours(const std::vector<Displacement>& nodes,
                                                    const std::vector<std::vector<int>>& triangles);

// The normalised median test (Westerweel and Scarano, 2005) on the displacement that each
// neighbour's warp predicts at the node: the node fails when, along x or y, it lies more
// than twice the neighbours' median spread (plus a tenth of a pixel for noise) from their
// median. Judged by its warp's prediction rather than its own displacement, a neighbour
// agrees under any smooth field, a rotation's included. True without neighbours.
bool passesMedianTest(const std::vector<Displacement>& nodes, const std::vector<int>& neighbours,
                      const Displacement& node);

// The neighbours' median prediction at the node: their median displacement there and
// median gradient.
AffineWarp medianPrediction(const std::vector<Displacement>& nodes,
                            const std::vector<int>& neighbours, const Displacement& node);

} // namespace ai
