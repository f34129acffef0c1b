#pragma once

#include "model/project_state.h"

#include <array>
#include <vector>

namespace ai {

inline constexpr int kMaxNeighbours = 4;

// The neighbours of one node, in the order the number-order scan finds them.
struct NeighbourEntry {
    int count = 0;
    std::array<int, kMaxNeighbours> nodes{};
};

// Entry n belongs to node n; entry 0 is unused.
using NeighbourLists = std::vector<NeighbourEntry>;

// For every node i of 1 to nodeCount, the first four nodes j != i in increasing number
// order whose free position lies strictly closer than distanceLimit. The relation need
// not be symmetric. Nodes without a finite free position are nobody's neighbour.
// distanceLimit is a whole number of view units below 2^26 (its square is exact).
NeighbourLists findNeighbours(const ProjectState& state, int nodeCount, int distanceLimit);

} // namespace ai
