#include "mesh/automatic_mesher.h"

#include "model/editing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace ai {
namespace {

using Corners = std::array<int, 3>;

void addNode(ProjectState& state, double x, double y)
{
    const auto n = static_cast<std::size_t>(++state.NodeCount);
    state.FreeNodes[n] = {x, y};
    state.LoadNodes[n] = {x, y};
}

std::vector<Corners> mesh(const ProjectState& state)
{
    std::vector<Corners> triangles;
    for (int e = 1; e <= state.ElementCount; ++e)
        triangles.push_back(state.Elements[static_cast<std::size_t>(e)].nodes);
    return triangles;
}

// The procedure word for word: number-order scan, strict tests, search from 100000.
std::vector<Corners> writtenProcedure(const ProjectState& state, double D)
{
    const int N = state.NodeCount;
    const auto& P = state.FreeNodes;
    auto dist = [&](int a, int b) {
        return std::sqrt((P[a].x - P[b].x) * (P[a].x - P[b].x) +
                         (P[a].y - P[b].y) * (P[a].y - P[b].y));
    };
    std::vector<std::vector<int>> lists(static_cast<std::size_t>(N) + 1);
    for (int i = 1; i <= N; ++i)
        for (int j = 1; j <= N; ++j)
            if (j != i && dist(i, j) < D && lists[i].size() < 4)
                lists[i].push_back(j);
    std::vector<Corners> triangles;
    for (int i = 1; i <= N; ++i)
        for (std::size_t p = 0; p < lists[i].size(); ++p) {
            double best = 100000;
            int bestNode = 0;
            for (std::size_t q = 0; q < lists[i].size(); ++q)
                if (q != p && dist(lists[i][p], lists[i][q]) < best) {
                    best = dist(lists[i][p], lists[i][q]);
                    bestNode = lists[i][q];
                }
            if (bestNode != 0 && triangles.size() < 1000)
                triangles.push_back({i, lists[i][p], bestNode});
        }
    return triangles;
}

TEST(AutomaticMesher, ThreeMutualNeighboursGiveSixTrianglesInTheWrittenOrder)
{
    ProjectState state;
    addNode(state, 0, 0);
    addNode(state, 100, 0);
    addNode(state, 0, 100);
    buildAutomaticMesh(state, 400);
    EXPECT_EQ(mesh(state), (std::vector<Corners>{
                               {1, 2, 3}, {1, 3, 2}, {2, 1, 3}, {2, 3, 1}, {3, 1, 2}, {3, 2, 1}}));

    // A node still waiting for its location is left out.
    state.PendingNode = 3;
    buildAutomaticMesh(state, 400);
    EXPECT_EQ(state.ElementCount, 0);
}

TEST(AutomaticMesher, NeighboursAreStrictlyCloserThanDAndTheFirstFourByNumber)
{
    ProjectState state;
    addNode(state, 0, 0);
    addNode(state, 300, 0);
    buildAutomaticMesh(state, 400);
    EXPECT_EQ(state.ElementCount, 0) << "one neighbour each makes no triangle";

    addNode(state, 0, 400); // exactly D from node 1, 500 from node 2
    buildAutomaticMesh(state, 400);
    EXPECT_EQ(state.ElementCount, 0);
    buildAutomaticMesh(state, 401);
    EXPECT_EQ(mesh(state), (std::vector<Corners>{{1, 2, 3}, {1, 3, 2}}));

    // Node 1 has six nodes within D and keeps 2 to 5: node 7 is left out of its list
    // although node 1 is in node 7's. Nodes 2 and 4 lie equally far from node 3: the
    // lower position wins.
    ProjectState crowd;
    addNode(crowd, 0, 0);
    for (double x : {100.0, 110.0, 120.0, 135.0, 140.0, 1.0})
        addNode(crowd, x, 500 - x);
    buildAutomaticMesh(crowd, 1000);
    const auto triangles = mesh(crowd);
    ASSERT_EQ(triangles.size(), 7u * 4);
    EXPECT_EQ(std::vector<Corners>(triangles.begin(), triangles.begin() + 4),
              (std::vector<Corners>{{1, 2, 3}, {1, 3, 2}, {1, 4, 3}, {1, 5, 4}}));
    EXPECT_EQ(triangles[24], (Corners{7, 1, 4}));
}

TEST(AutomaticMesher, ReplacesAHandMadeMeshAndKeepsFlatTriangles)
{
    ProjectState state;
    addNode(state, 0, 0);
    addNode(state, 100, 0);
    addNode(state, 200, 0); // on a line: zero-area triangles are kept
    addNode(state, 900, 0);
    for (int e = 0; e < 5; ++e)
        appendElement(state, 1, 2, 4);
    buildAutomaticMesh(state, 150);
    EXPECT_EQ(mesh(state), (std::vector<Corners>{{2, 1, 3}, {2, 3, 1}}));
    EXPECT_EQ(state.Elements[3].first(), 0) << "the old slots are emptied";
}

// Random layouts on a coarse lattice, so that equal distances, distances of exactly D,
// stacked nodes and crowded lists are common; some nodes lack a position.
TEST(AutomaticMesher, MatchesTheWrittenProcedureOnRandomLayouts)
{
    std::mt19937 random(12345);
    bool capped = false;
    for (int round = 0; round < 300; ++round) {
        ProjectState state;
        const int count = std::uniform_int_distribution<int>(0, round < 250 ? 60 : kMaxNodes)(random);
        const int lattice = std::uniform_int_distribution<int>(1, 40)(random);
        const int cells = std::uniform_int_distribution<int>(1, 60)(random);
        std::uniform_int_distribution<int> cell(0, cells);
        for (int n = 0; n < count; ++n)
            addNode(state, cell(random) * lattice + (round % 3 == 0 ? 0.1 * n : 0),
                    cell(random) * lattice);
        if (count > 3 && round % 5 == 0)
            state.FreeNodes[2] = {};
        const int D = std::uniform_int_distribution<int>(50, 3000)(random) / lattice * lattice;
        buildAutomaticMesh(state, D);
        ASSERT_EQ(mesh(state), writtenProcedure(state, D)) << "round " << round;
        capped = capped || state.ElementCount == kMaxElements;
    }
    EXPECT_TRUE(capped) << "some dense layouts reach the table size";
}

} // namespace
} // namespace ai
