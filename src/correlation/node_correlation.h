#pragma once

#include "correlation/grey_image.h"
#include "model/project_state.h"

#include <functional>
#include <optional>
#include <vector>

namespace ai {

// What a correlation may be asked for. Sizes in pixels.
struct CorrelationSettings {
    int subset = 31;         // side of the square subset, odd
    int searchRadius = 20;   // whole-pixel search around the starting guess
    double minimumZncc = 0.9;
    // A quadratic subset where it fits significantly better than the affine one.
    bool secondOrderWhereBetter = true;
};

// How a subset deforms: the derivatives of the displacement along x (u) and y (v), in
// pixels per pixel.
struct DisplacementGradient {
    double ux = 0.0;
    double uy = 0.0;
    double vx = 0.0;
    double vy = 0.0;
};

// The outcome for one node. Positions and covariances in view units.
struct NodeMatch {
    bool found = false;
    Position loaded;                // the found loaded position; unset when not found
    PositionCovariance covariance;  // random error of `loaded` from the grey-level noise
    double zncc = kUnset;           // final ZNCC of the refined subset, unset if none
    DisplacementGradient gradient;  // of the found subset, to start a later load step from
};

// The nodes to correlate, indexed 0 .. count-1 in the caller's order.
struct CorrelationTask {
    std::vector<Position> free;            // the subsets' centres on the free photograph
    std::vector<Position> guess;           // the starting guesses on the loaded photograph
    std::vector<std::vector<int>> neighbours; // per node, the nodes it shares a triangle with
    // Per node, or empty: the gradient the node had at the load step before. Every node is
    // then refined straight from its guess so deformed before any search, which follows a
    // strain that has grown too large for a search of the undeformed subset.
    std::vector<DisplacementGradient> gradient;
};

// Called as the work goes on with the nodes done and the total; returning false cancels.
using CorrelationProgress = std::function<bool(int done, int total)>;

// One node from a starting guess (the assisted click).
NodeMatch correlateNode(const GreyImage& free, const GreyImage& loaded, Position freePosition,
                        Position guess, const CorrelationSettings& settings);

// Every node of the task, best first, with a node not found by its own search tried
// again from a found neighbour. Nothing when the work was cancelled.
std::optional<std::vector<NodeMatch>> correlateNodes(const GreyImage& free, const GreyImage& loaded,
                                      const CorrelationTask& task,
                                      const CorrelationSettings& settings,
                                      const CorrelationProgress& progress);

} // namespace ai
