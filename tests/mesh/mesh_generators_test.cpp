// The automatic mesher, against a plain quadratic copy of its procedure, and the structured grid.
#include "mesh/automatic_mesher.h"
#include "mesh/structured_grid.h"
#include "model/editing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace ai {
namespace {

using Triangles = std::vector<std::array<int, 3>>;

ProjectState nodesAt(std::initializer_list<Position> positions)
{
    ProjectState s;
    for (const Position p : positions)
        s.FreeNodes[++s.NodeCount] = p, s.LoadNodes[s.NodeCount] = p;
    return s;
}

Triangles triangles(const ProjectState& s)
{
    Triangles result;
    for (int e = 1; e <= s.ElementCount; ++e)
        result.push_back(s.Elements[e].nodes);
    return result;
}

Triangles meshed(ProjectState& s, int D) { return buildAutomaticMesh(s, D), triangles(s); }

// Every pair compared: number-order scan, strict tests, search from 100000.
Triangles plainProcedure(const ProjectState& s, double D)
{
    const auto dist = [&](int a, int b) {
        const Position p = s.FreeNodes[a], q = s.FreeNodes[b];
        return std::sqrt((p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y));
    };
    Triangles result;
    for (int i = 1; i <= s.NodeCount; ++i) {
        std::vector<int> list;
        for (int j = 1; j <= s.NodeCount; ++j)
            if (j != i && dist(i, j) < D && list.size() < 4)
                list.push_back(j);
        for (const int a : list) {
            double best = 100000;
            int b = 0;
            for (const int q : list)
                if (q != a && dist(a, q) < best)
                    best = dist(a, q), b = q;
            if (b != 0 && result.size() < 1000)
                result.push_back({i, a, b});
        }
    }
    return result;
}

TEST(AutomaticMesher, SixTrianglesOverThreeNodesAndTheEdgeCases)
{
    ProjectState s = nodesAt({{0, 0}, {100, 0}, {0, 100}});
    EXPECT_EQ(meshed(s, 400),
              (Triangles{{1, 2, 3}, {1, 3, 2}, {2, 1, 3}, {2, 3, 1}, {3, 1, 2}, {3, 2, 1}}));
    s.PendingNode = 3; // a node waiting for its location is left out
    EXPECT_EQ(meshed(s, 400), Triangles{});

    // Node 3 lies exactly D = 400 from node 1: a neighbour only when D is 401.
    s = nodesAt({{0, 0}, {300, 0}, {0, 400}});
    EXPECT_EQ(meshed(s, 400), Triangles{});
    EXPECT_EQ(meshed(s, 401), (Triangles{{1, 2, 3}, {1, 3, 2}}));

    // Node 1 keeps 2 to 5 of its six nodes within D, though it is in node 7's list; nodes 2
    // and 4 lie equally far from node 3: the lower position wins.
    s = nodesAt({{0, 0}, {100, 400}, {110, 390}, {120, 380}, {135, 365}, {140, 360}, {1, 499}});
    const Triangles crowd = meshed(s, 1000);
    ASSERT_EQ(crowd.size(), 7u * 4);
    EXPECT_EQ(Triangles(crowd.begin(), crowd.begin() + 4),
              (Triangles{{1, 2, 3}, {1, 3, 2}, {1, 4, 3}, {1, 5, 4}}));
    EXPECT_EQ(crowd[24], (std::array{7, 1, 4}));

    // A hand-made mesh is replaced, its old slots emptied; flat triangles are kept.
    s = nodesAt({{0, 0}, {100, 0}, {200, 0}, {900, 0}});
    for (int e = 0; e < 5; ++e)
        appendElement(s, 1, 2, 4);
    EXPECT_EQ(meshed(s, 150), (Triangles{{2, 1, 3}, {2, 3, 1}}));
    EXPECT_EQ(s.Elements[3].first(), 0);
}

// Random layouts on a coarse lattice, so that equal distances, distances of exactly D, stacked
// nodes and crowded lists are common; some nodes lack a position. The spatial index must give
// exactly what the plain procedure gives.
TEST(AutomaticMesher, MatchesThePlainProcedureOnRandomLayouts)
{
    std::mt19937 random(12345);
    const auto draw = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    bool capped = false;
    for (int round = 0; round < 300; ++round) {
        const int count = draw(0, round < 250 ? 60 : kMaxNodes), lattice = draw(1, 40);
        const int cells = draw(1, 60), D = draw(50, 3000) / lattice * lattice;
        ProjectState s;
        for (int n = 1; n <= count; ++n)
            s.FreeNodes[n] = s.LoadNodes[n] = {draw(0, cells) * lattice + (round % 3 ? 0 : 0.1 * n),
                                               1.0 * draw(0, cells) * lattice};
        s.NodeCount = count;
        if (count > 3 && round % 5 == 0)
            s.FreeNodes[2] = {};
        ASSERT_EQ(meshed(s, D), plainProcedure(s, D)) << "round " << round;
        capped = capped || s.ElementCount == kMaxElements;
    }
    EXPECT_TRUE(capped) << "some dense layouts reach the table size";
}

TEST(StructuredGrid, NodesDownEachColumnThenFirstAndSecondTriangles)
{
    ProjectState s;
    ASSERT_TRUE(rebuildStructuredGrid(s, {3, 2}).built);
    const double xy[6][2] = {{0, 0}, {0, 150}, {150, 0}, {150, 150}, {300, 0}, {300, 150}};
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(std::tuple(s.FreeNodes[n].x, s.FreeNodes[n].y, s.LoadNodes[n].x, s.LoadNodes[n].y,
                             s.NodeSums[n].count, s.NodeSums[n].value),
                  std::tuple(xy[n - 1][0], xy[n - 1][1], xy[n - 1][0], xy[n - 1][1], 0.0, 0.0));
    EXPECT_EQ(triangles(s), (Triangles{{1, 2, 3}, {3, 4, 5}, {3, 4, 2}, {5, 6, 4}}));

    // Node 4 of a grid offset on each image, whose loaded spacing runs backwards along x.
    rebuildStructuredGrid(s, {2, 2, 150, 100, 800, 1015, 40, 60, 5000, 10});
    EXPECT_EQ(std::tuple(s.NodeCount, s.FreeNodes[4].x, s.FreeNodes[4].y, s.LoadNodes[4].x,
                         s.LoadNodes[4].y),
              std::tuple(4, 190.0, 160.0, 4950.0, 125.0));
}

TEST(StructuredGrid, AGridThatDoesNotFitIsRefusedAndLeavesNoneWhenTheNodesRunOutFirst)
{
    ProjectState s;
    while (s.NodeCount < 995)
        createNode(s, 0, 0);
    s.GridBaseNodeCount = 995;
    ASSERT_TRUE(rebuildStructuredGrid(s, {2, 2}).built);
    const GridOutcome refused = rebuildStructuredGrid(s, {2, 3});
    EXPECT_EQ(std::tuple(refused.built, refused.nodeRoom, refused.elementRoom, s.NodeCount,
                         s.ElementCount),
              std::tuple(false, 5, 1000, 995, 0));
}

TEST(StructuredGrid, AnEraseLowersTheBaseWithoutOrphaningKeptTriangles)
{
    ProjectState s = nodesAt({{0, 0}, {100, 0}, {200, 0}, {300, 0}});
    appendElement(s, 1, 2, 3);
    s.GridBaseNodeCount = 4;
    s.GridBaseElementCount = 1;
    rebuildStructuredGrid(s, {});
    eraseAll(s);
    rebuildStructuredGrid(s, {});
    EXPECT_EQ(s.GridBaseNodeCount, 0);
    EXPECT_EQ(triangles(s), (Triangles{{1, 2, 3}, {3, 4, 2}}));

    // The mesh erased, then a triangle picked over grid nodes before the next change: it lies
    // below the element base, so the grid nodes it uses are kept.
    s.GridBaseNodeCount = 2;
    s.GridBaseElementCount = 1;
    eraseMesh(s);
    appendElement(s, 1, 2, 4);
    rebuildStructuredGrid(s, {});
    EXPECT_EQ(s.NodeCount, 4 + 4);
    EXPECT_EQ(triangles(s)[0], (std::array{1, 2, 4}));
}

} // namespace
} // namespace ai
