#pragma once

#include "model/project_state.h"

#include <array>

namespace ai {

// Whether a node's displacement is a measurement: every node is, except one that a
// correlation looked for and did not find, until it is placed again or found.
inline bool isMeasured(const ProjectState& state, int node)
{
    return !state.LoadLocations[static_cast<std::size_t>(node)].notFound;
}

// A triangle with a corner that is not measured has no strain, stress or value.
inline bool hasMeasuredCorners(const ProjectState& state, int element)
{
    for (const int n : state.Elements[static_cast<std::size_t>(element)].nodes)
        if (n >= 1 && n <= kMaxNodes && !isMeasured(state, n))
            return false;
    return true;
}

// The triangles of the study that a node not found leaves without a value.
inline int leftOutElementCount(const ProjectState& state)
{
    int count = 0;
    for (int e = 1; e <= state.ElementCount && e <= kMaxElements; ++e)
        count += hasMeasuredCorners(state, e) ? 0 : 1;
    return count;
}

// Per node 1 to nodeCount, whether it has no nodal average: a node not measured has none,
// nor has one that only triangles left out list. A node in no triangle has the average 0.
inline std::array<bool, kTableSlots> nodesWithoutAverage(const ProjectState& state, int nodeCount)
{
    std::array<bool, kTableSlots> without{};
    std::array<bool, kTableSlots> valued{};
    for (int e = 1; e <= state.ElementCount && e <= kMaxElements; ++e) {
        const bool measured = hasMeasuredCorners(state, e);
        for (const int n : state.Elements[static_cast<std::size_t>(e)].nodes)
            if (n >= 1 && n <= kMaxNodes)
                (measured ? valued : without)[static_cast<std::size_t>(n)] = true;
    }
    for (int n = 1; n <= nodeCount && n <= kMaxNodes; ++n) {
        const auto slot = static_cast<std::size_t>(n);
        without[slot] = !valued[slot] && (without[slot] || !isMeasured(state, n));
    }
    return without;
}

} // namespace ai
