#include "mesh/structured_grid.h"

#include "model/editing.h"

#include <algorithm>
#include <cstddef>

namespace ai {

namespace {

void settleBase(ProjectState& state)
{
    int& nodeBase = state.GridBaseNodeCount;
    int& elementBase = state.GridBaseElementCount;
    nodeBase = std::clamp(nodeBase, 0, state.NodeCount);
    elementBase = std::clamp(elementBase, 0, state.ElementCount);
    for (int e = 1; e <= elementBase; ++e)
        for (int n : state.Elements[static_cast<std::size_t>(e)].nodes)
            nodeBase = std::max(nodeBase, std::min(n, state.NodeCount));
}

void appendGridNode(ProjectState& state, const GridBars& bars, int column, int row)
{
    const auto n = static_cast<std::size_t>(++state.NodeCount);
    state.FreeNodes[n] = {static_cast<double>(bars.freeX + column * bars.spacingX),
                          static_cast<double>(bars.freeY + row * bars.spacingY)};
    const int loadedX = bars.spacingX + bars.deformationX - kNoDeformation;
    const int loadedY = bars.spacingY + bars.deformationY - kNoDeformation;
    state.LoadNodes[n] = {static_cast<double>(bars.loadX + column * loadedX),
                          static_cast<double>(bars.loadY + row * loadedY)};
    state.LoadLocations[n] = LoadLocation{};
    state.NodeSums[n] = NodeSum{0.0, 0.0};
}

} // namespace

int gridNodeCount(const GridBars& bars) { return bars.columns * bars.rows; }

int gridElementCount(const GridBars& bars) { return 2 * (bars.columns - 1) * (bars.rows - 1); }

bool appendGrid(ProjectState& state, const GridBars& bars)
{
    const int base = state.NodeCount;
    if (gridNodeCount(bars) > kMaxNodes - base ||
        gridElementCount(bars) > kMaxElements - state.ElementCount)
        return false;

    for (int column = 0; column < bars.columns; ++column)
        for (int row = 0; row < bars.rows; ++row)
            appendGridNode(state, bars, column, row);

    // Node of column c, row r, both counted from 1.
    const auto node = [&](int c, int r) { return base + (c - 1) * bars.rows + r; };
    // First triangles: top-left, bottom-left, top-right corner of each cell.
    for (int c = 1; c <= bars.columns - 1; ++c)
        for (int r = 1; r <= bars.rows - 1; ++r)
            appendElement(state, node(c, r), node(c, r + 1), node(c + 1, r));
    // Second triangles: top-right, bottom-right, bottom-left corner.
    for (int c = 2; c <= bars.columns; ++c)
        for (int r = 1; r <= bars.rows - 1; ++r)
            appendElement(state, node(c, r), node(c, r + 1), node(c - 1, r + 1));
    return true;
}

GridOutcome rebuildStructuredGrid(ProjectState& state, const GridBars& bars)
{
    settleBase(state);
    removeElementsAfter(state, state.GridBaseElementCount);
    removeNodesAfter(state, state.GridBaseNodeCount);
    const int nodeRoom = kMaxNodes - state.NodeCount;
    const int elementRoom = kMaxElements - state.ElementCount;
    return GridOutcome{appendGrid(state, bars), nodeRoom, elementRoom};
}

} // namespace ai
