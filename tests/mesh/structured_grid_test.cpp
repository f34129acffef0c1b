#include "mesh/structured_grid.h"

#include "model/editing.h"

#include <gtest/gtest.h>

#include <vector>

namespace ai {
namespace {

using Corners = std::array<int, 3>;
using Point = std::array<double, 2>;

std::vector<Point> positions(const std::array<Position, kTableSlots>& table, int count)
{
    std::vector<Point> result;
    for (int n = 1; n <= count; ++n)
        result.push_back({table[static_cast<std::size_t>(n)].x, table[static_cast<std::size_t>(n)].y});
    return result;
}

std::vector<Corners> triangles(const ProjectState& state)
{
    std::vector<Corners> result;
    for (int e = 1; e <= state.ElementCount; ++e)
        result.push_back(state.Elements[static_cast<std::size_t>(e)].nodes);
    return result;
}

TEST(StructuredGrid, NodesDownEachColumnThenFirstAndSecondTriangles)
{
    ProjectState state;
    GridBars bars;
    bars.columns = 3;
    ASSERT_TRUE(rebuildStructuredGrid(state, bars).built);
    const std::vector<Point> expected{{0, 0}, {0, 150}, {150, 0}, {150, 150}, {300, 0}, {300, 150}};
    EXPECT_EQ(positions(state.FreeNodes, 6), expected);
    EXPECT_EQ(positions(state.LoadNodes, 6), expected);
    EXPECT_EQ(triangles(state), (std::vector<Corners>{{1, 2, 3}, {3, 4, 5}, {3, 4, 2}, {5, 6, 4}}));
    EXPECT_EQ(state.NodeSums[6].count, 0.0);
    EXPECT_EQ(state.NodeSums[6].value, 0.0);

    // Offsets apart on each image; a deformation below 1000 - S runs the loaded grid backwards.
    bars = GridBars{2, 2, 150, 100, 800, 1015, 40, 60, 5000, 10};
    rebuildStructuredGrid(state, bars);
    EXPECT_EQ(state.NodeCount, 4);
    EXPECT_EQ(positions(state.FreeNodes, 4), (std::vector<Point>{{40, 60}, {40, 160}, {190, 60}, {190, 160}}));
    EXPECT_EQ(positions(state.LoadNodes, 4), (std::vector<Point>{{5000, 10}, {5000, 125}, {4950, 10}, {4950, 125}}));
}

TEST(StructuredGrid, RefusesAGridThatDoesNotFitAndLeavesNone)
{
    ProjectState state;
    createNode(state, 0, 0);
    state.GridBaseNodeCount = 1;
    GridBars bars;
    bars.columns = bars.rows = 23; // 968 triangles: the largest square grid
    ASSERT_TRUE(rebuildStructuredGrid(state, bars).built);

    bars.rows = 24; // 1012 triangles
    GridOutcome outcome = rebuildStructuredGrid(state, bars);
    EXPECT_FALSE(outcome.built);
    EXPECT_EQ(outcome.nodeRoom, 999);
    EXPECT_EQ(outcome.elementRoom, 1000);
    EXPECT_EQ(state.NodeCount, 1);
    EXPECT_EQ(state.ElementCount, 0);

    // After a large study the nodes run out first.
    while (state.NodeCount < 995)
        createNode(state, 0, 0);
    state.GridBaseNodeCount = 995;
    bars = GridBars{2, 3};
    outcome = rebuildStructuredGrid(state, bars);
    EXPECT_FALSE(outcome.built);
    EXPECT_EQ(outcome.nodeRoom, 5);
    bars.rows = 2;
    EXPECT_TRUE(rebuildStructuredGrid(state, bars).built);
}

TEST(StructuredGrid, AnEraseLowersTheBaseWithoutOrphaningKeptTriangles)
{
    ProjectState state;
    for (int n = 0; n < 4; ++n)
        createNode(state, 100.0f * n, 0);
    appendElement(state, 1, 2, 3);
    state.GridBaseNodeCount = 4;
    state.GridBaseElementCount = 1;
    const GridBars bars;
    rebuildStructuredGrid(state, bars);

    eraseAll(state);
    rebuildStructuredGrid(state, bars);
    EXPECT_EQ(state.GridBaseNodeCount, 0);
    EXPECT_EQ(triangles(state), (std::vector<Corners>{{1, 2, 3}, {3, 4, 2}}));

    // The mesh erased, then a triangle picked over grid nodes before the next change:
    // it lies below the element base, so the grid nodes it uses are kept.
    state.GridBaseNodeCount = 2;
    state.GridBaseElementCount = 1;
    eraseMesh(state);
    appendElement(state, 1, 2, 4);
    rebuildStructuredGrid(state, bars);
    EXPECT_EQ(state.NodeCount, 4 + 4);
    EXPECT_EQ(triangles(state).front(), (Corners{1, 2, 4}));
}

} // namespace
} // namespace ai
