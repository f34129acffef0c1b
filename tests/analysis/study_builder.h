#pragma once

#include "model/project_state.h"

namespace ai::test {

// A study put together directly: nodes with both positions, then triangles.
struct StudyBuilder {
    ProjectState state;

    int node(Position free, Position loaded)
    {
        const int n = ++state.NodeCount;
        state.FreeNodes[static_cast<std::size_t>(n)] = free;
        state.LoadNodes[static_cast<std::size_t>(n)] = loaded;
        state.NodeSums[static_cast<std::size_t>(n)] = NodeSum{0.0, 0.0};
        return n;
    }
    void triangle(int first, int second, int third)
    {
        state.Elements[static_cast<std::size_t>(++state.ElementCount)].nodes = {first, second,
                                                                                third};
    }
};

// The worked triangle: free corners (0, 0), (100, 0), (0, 100), node 2 moved to `loaded2`
// and node 3 to `loaded3` on the loaded image.
inline StudyBuilder workedTriangle(Position loaded2, Position loaded3)
{
    StudyBuilder b;
    b.node({0, 0}, {0, 0});
    b.node({100, 0}, loaded2);
    b.node({0, 100}, loaded3);
    b.triangle(1, 2, 3);
    return b;
}

inline StudyBuilder stretchedTriangle() { return workedTriangle({101, 0}, {0, 100}); }
inline StudyBuilder shearedTriangle() { return workedTriangle({100, 0}, {1, 100}); }

} // namespace ai::test
