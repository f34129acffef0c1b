#include "mesh/automatic_mesher.h"

#include "mesh/free_distance.h"
#include "mesh/neighbour_lists.h"
#include "model/editing.h"

#include <cstddef>

namespace ai {

namespace {

// The node of the entry, other than the one at `position`, nearest to that one; 0 if
// the entry holds no other node.
int nearestOther(const ProjectState& state, const NeighbourEntry& entry, int position)
{
    const auto node = [&](int q) {
        return state.FreeNodes[static_cast<std::size_t>(entry.nodes[static_cast<std::size_t>(q)])];
    };
    double best = kNearestSearchStart;
    int found = 0;
    for (int q = 0; q < entry.count; ++q) {
        if (q == position)
            continue;
        const double d = freeDistance(node(position), node(q));
        if (d < best) {
            best = d;
            found = entry.nodes[static_cast<std::size_t>(q)];
        }
    }
    return found;
}

} // namespace

void buildAutomaticMesh(ProjectState& state, int distanceLimit)
{
    // The node waiting for its location (if any) is left out: it has no loaded position.
    const int nodeCount = state.locatedNodeCount();
    const NeighbourLists lists = findNeighbours(state, nodeCount, distanceLimit);

    removeElementsAfter(state, 0);
    for (int i = 1; i <= nodeCount; ++i) {
        const NeighbourEntry& entry = lists[static_cast<std::size_t>(i)];
        for (int p = 0; p < entry.count; ++p) {
            const int b = nearestOther(state, entry, p);
            if (b != 0 && !appendElement(state, i, entry.nodes[static_cast<std::size_t>(p)], b))
                return; // the table is full: no later triangle could be added either
        }
    }
}

} // namespace ai
