// A study at full tables for the core's benchmarks: 1000 nodes and 1000 triangles.
#pragma once

#include "model/editing.h"
#include "model/project_state.h"

namespace ai::bench {

// A 40 x 25 grid of nodes 300 units apart, stretched by 1 % along x and sheared a little
// on the loaded image, covered by its first 1000 triangles.
inline ProjectState gridStudy()
{
    ProjectState state;
    constexpr int columns = 40;
    for (int i = 0; i < kMaxNodes; ++i) {
        const double x = 300.0 * (i % columns), y = 300.0 * (i / columns);
        const auto n = static_cast<std::size_t>(i + 1);
        state.FreeNodes[n] = {x, y};
        state.LoadNodes[n] = {x * 0.99 + y * 0.002, y + x * 0.001};
    }
    state.NodeCount = kMaxNodes;
    for (int n = 1; state.ElementCount < kMaxElements; ++n) {
        if (n % columns == 0)
            continue; // the last column starts no square
        appendElement(state, n, n + 1, n + columns + 1);
        appendElement(state, n, n + columns + 1, n + columns);
    }
    return state;
}

} // namespace ai::bench
