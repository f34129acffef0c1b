#include "mesh/structured_grid.h"

#include "model/editing.h"

#include <gtest/gtest.h>

#include <vector>

namespace ai {
namespace {

using Corners = std::array<int, 3>;
using Point = std::array<double, 2>;

std::vector<Point> positions(const std::array<Position, kTableSlots>& table, int from, int to)
{
    std::vector<Point> result;
    for (int n = from; n <= to; ++n)
        result.push_back({table[static_cast<std::size_t>(n)].x, table[static_cast<std::size_t>(n)].y});
    return result;
}

std::vector<Corners> triangles(const ProjectState& state, int from)
{
    std::vector<Corners> result;
    for (int e = from; e <= state.ElementCount; ++e)
        result.push_back(state.Elements[static_cast<std::size_t>(e)].nodes);
    return result;
}

TEST(StructuredGrid, ThreeByTwoGridInTheWrittenOrder)
{
    ProjectState state;
    GridBars bars;
    bars.columns = 3;
    ASSERT_TRUE(rebuildStructuredGrid(state, bars).built);
    const std::vector<Point> expected{{0, 0}, {0, 150}, {150, 0}, {150, 150}, {300, 0}, {300, 150}};
    EXPECT_EQ(positions(state.FreeNodes, 1, state.NodeCount), expected);
    EXPECT_EQ(positions(state.LoadNodes, 1, state.NodeCount), expected);
    EXPECT_EQ(triangles(state, 1), (std::vector<Corners>{{1, 2, 3}, {3, 4, 5}, {3, 4, 2}, {5, 6, 4}}));
    EXPECT_EQ(state.NodeSums[6].count, 0.0);
    EXPECT_EQ(state.NodeSums[6].value, 0.0);
}

TEST(StructuredGrid, SpacingDeformationAndOffsetsPlaceEachImageApart)
{
    ProjectState state;
    GridBars bars;
    bars.spacingX = 170;
    rebuildStructuredGrid(state, bars);
    const std::vector<Point> spaced{{0, 0}, {0, 150}, {170, 0}, {170, 150}};
    EXPECT_EQ(positions(state.FreeNodes, 1, 4), spaced);
    EXPECT_EQ(positions(state.LoadNodes, 1, 4), spaced);
    EXPECT_EQ(triangles(state, 1), (std::vector<Corners>{{1, 2, 3}, {3, 4, 2}}));

    bars.deformationX = 1015;
    rebuildStructuredGrid(state, bars);
    EXPECT_EQ(positions(state.FreeNodes, 1, 4), spaced);
    EXPECT_EQ(positions(state.LoadNodes, 1, 4), (std::vector<Point>{{0, 0}, {0, 150}, {185, 0}, {185, 150}}));

    // Below 1000 - S the loaded grid runs backwards.
    bars = GridBars{2, 2, 150, 100, 800, 1000, 40, 60, 5000, 10};
    rebuildStructuredGrid(state, bars);
    EXPECT_EQ(positions(state.FreeNodes, 1, 4), (std::vector<Point>{{40, 60}, {40, 160}, {190, 60}, {190, 160}}));
    EXPECT_EQ(positions(state.LoadNodes, 1, 4), (std::vector<Point>{{5000, 10}, {5000, 110}, {4950, 10}, {4950, 110}}));
}

TEST(StructuredGrid, RebuildsOnlyAfterTheBaseAndLeavesOneGrid)
{
    ProjectState state;
    for (int n = 0; n < 3; ++n)
        createNode(state, 10.5f * n, 7);
    appendElement(state, 1, 2, 3);
    state.GridBaseNodeCount = 3;
    state.GridBaseElementCount = 1;

    GridBars bars;
    for (int columns : {5, 3, 7, 4}) {
        bars.columns = columns;
        rebuildStructuredGrid(state, bars);
    }
    EXPECT_EQ(state.NodeCount, 3 + 4 * 2);
    EXPECT_EQ(state.ElementCount, 1 + 2 * 3);
    EXPECT_EQ(positions(state.FreeNodes, 1, 3), (std::vector<Point>{{0, 7}, {10.5, 7}, {21, 7}}));
    EXPECT_EQ(triangles(state, 1).front(), (Corners{1, 2, 3}));
    EXPECT_EQ(triangles(state, 2).front(), (Corners{4, 5, 6}));
    EXPECT_FALSE(state.FreeNodes[12].isSet()) << "the longer grid's nodes are gone";
    EXPECT_EQ(state.Elements[8].first(), 0);
}

TEST(StructuredGrid, RefusesAGridThatDoesNotFitAndLeavesNone)
{
    ProjectState state;
    createNode(state, 0, 0);
    state.GridBaseNodeCount = 1;
    GridBars bars;
    bars.columns = 10;
    rebuildStructuredGrid(state, bars);
    ASSERT_EQ(state.NodeCount, 21);

    bars.columns = bars.rows = 24; // 576 nodes but 1058 triangles
    GridOutcome outcome = rebuildStructuredGrid(state, bars);
    EXPECT_FALSE(outcome.built);
    EXPECT_EQ(outcome.nodeRoom, 999);
    EXPECT_EQ(outcome.elementRoom, 1000);
    EXPECT_EQ(state.NodeCount, 1);
    EXPECT_EQ(state.ElementCount, 0);

    bars.columns = bars.rows = 23; // 968 triangles: the largest square grid
    EXPECT_TRUE(rebuildStructuredGrid(state, bars).built);
    EXPECT_EQ(state.NodeCount, 1 + 529);
    EXPECT_EQ(state.ElementCount, 968);

    // Nodes run out first when the grid follows a large study.
    while (state.NodeCount < 995)
        createNode(state, 0, 0);
    state.GridBaseNodeCount = 995;
    bars.columns = 2;
    bars.rows = 3;
    outcome = rebuildStructuredGrid(state, bars);
    EXPECT_FALSE(outcome.built);
    EXPECT_EQ(outcome.nodeRoom, 5);
    bars.rows = 2;
    EXPECT_TRUE(rebuildStructuredGrid(state, bars).built);
    EXPECT_EQ(state.NodeCount, 999);
}

TEST(StructuredGrid, AnEraseLowersTheBaseWithoutOrphaningKeptTriangles)
{
    ProjectState state;
    for (int n = 0; n < 4; ++n)
        createNode(state, 100.0f * n, 0);
    appendElement(state, 1, 2, 3);
    appendElement(state, 2, 3, 4);
    state.GridBaseNodeCount = 4;
    state.GridBaseElementCount = 2;
    GridBars bars;
    rebuildStructuredGrid(state, bars);

    eraseAll(state);
    rebuildStructuredGrid(state, bars);
    EXPECT_EQ(state.GridBaseNodeCount, 0);
    EXPECT_EQ(state.NodeCount, 4);
    EXPECT_EQ(triangles(state, 1), (std::vector<Corners>{{1, 2, 3}, {3, 4, 2}}));

    // The mesh erased, then a triangle picked by hand over grid nodes before the next
    // change: it stays below the element base, so the grid nodes it uses stay too.
    state.GridBaseNodeCount = 2;
    state.GridBaseElementCount = 1;
    eraseMesh(state);
    appendElement(state, 1, 2, 4);
    rebuildStructuredGrid(state, bars);
    EXPECT_EQ(state.GridBaseNodeCount, 4);
    EXPECT_EQ(state.NodeCount, 8);
    EXPECT_EQ(triangles(state, 1).front(), (Corners{1, 2, 4}));
}

} // namespace
} // namespace ai
