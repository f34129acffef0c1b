#pragma once

#include "model/project_state.h"

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

} // namespace ai
