// The correlation of nodes between two photographs of a synthetic speckle moved by a known
// map: sub-pixel accuracy, the photographs' borders, flat subsets, propagation, cancel.
#include "correlation/node_correlation.h"
#include "synthetic_speckle.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ai {
namespace {

using ai::testing::SyntheticSpeckle;

constexpr double kUnits = kTwipsPerPixel;

// The loaded photograph: the free one stretched by 1.5 % along x, sheared slightly and
// moved by (3.37, -2.81) pixels about the point (100, 75).
struct KnownMap {
    double a = 1.015, b = 0.004, c = -0.003, d = 0.996, tx = 3.37, ty = -2.81;
    void forward(double& x, double& y) const
    {
        const double dx = x - 100.0;
        const double dy = y - 75.0;
        x = 100.0 + a * dx + b * dy + tx;
        y = 75.0 + c * dx + d * dy + ty;
    }
    void backward(double& x, double& y) const
    {
        const double dx = x - 100.0 - tx;
        const double dy = y - 75.0 - ty;
        const double det = a * d - b * c;
        x = 100.0 + (d * dx - b * dy) / det;
        y = 75.0 + (-c * dx + a * dy) / det;
    }
};

struct Photographs {
    SyntheticSpeckle speckle{200, 150};
    KnownMap map;
    GreyImage free = speckle.render([](double&, double&) {});
    GreyImage loaded = speckle.render([this](double& x, double& y) { map.backward(x, y); });

    Position exactLoaded(Position p) const
    {
        double x = p.x / kUnits;
        double y = p.y / kUnits;
        map.forward(x, y);
        return {x * kUnits, y * kUnits};
    }
};

const Photographs& photographs()
{
    static const Photographs shared;
    return shared;
}

TEST(NodeCorrelation, FindsNodesBetweenPixelsToAHundredthOfAPixelWithAnHonestlySmallSpread)
{
    const Photographs& p = photographs();
    // Nodes off the pixel grid, from the free position as guess (3 to 4 pixels away).
    for (const Position node : {Position{1507.3, 1121.9}, Position{800.0, 600.0},
                                Position{2190.6, 1522.2}, Position{1240.4, 1780.7}}) {
        const NodeMatch match = correlateNode(p.free, p.loaded, node, node, CorrelationSettings{});
        ASSERT_TRUE(match.found) << node.x << ", " << node.y;
        const Position exact = p.exactLoaded(node);
        EXPECT_NEAR(match.loaded.x, exact.x, 0.01 * kUnits) << node.x;
        EXPECT_NEAR(match.loaded.y, exact.y, 0.01 * kUnits) << node.y;
        EXPECT_GT(match.zncc, 0.995);
        // Only the rounding of the grey levels is left: a spread of thousandths of a pixel.
        EXPECT_GT(match.covariance.xx, 0.0);
        EXPECT_LT(std::sqrt(match.covariance.xx), 0.01 * kUnits);
        EXPECT_LT(std::sqrt(match.covariance.yy), 0.01 * kUnits);
        EXPECT_LE(match.covariance.xy * match.covariance.xy,
                  match.covariance.xx * match.covariance.yy);
    }
}

TEST(NodeCorrelation, ANodeWhoseSubsetOrSearchLeavesAPhotographOrIsFlatIsNotFound)
{
    const Photographs& p = photographs();
    const CorrelationSettings settings;
    // 15 pixels of half-subset do not fit 10 pixels from the free photograph's edges.
    for (const Position edge : {Position{150.0, 1100.0}, Position{1500.0, 100.0},
                                Position{2960.0, 1100.0}, Position{1500.0, 2200.0},
                                Position{-300.0, -300.0}, Position{1e12, 5.0}}) {
        EXPECT_FALSE(correlateNode(p.free, p.loaded, edge, edge, settings).found) << edge.x;
    }
    // Nor when matched features, not a search, give the start.
    CorrelationTask edges;
    edges.free = {{150.0, 1100.0}, {1500.0, 100.0}, {2960.0, 1100.0}, {1500.0, 2200.0}};
    edges.guess.assign(4, Position{9000.0, 9000.0});
    const auto seeded = correlateNodes(p.free, p.loaded, edges, settings, {});
    ASSERT_TRUE(seeded.has_value());
    for (const NodeMatch& m : *seeded)
        EXPECT_FALSE(m.found);
    // A guess far off the loaded photograph: no candidate fits in it.
    EXPECT_FALSE(correlateNode(p.free, p.loaded, {1500.0, 1100.0}, {9000.0, 1100.0}, settings).found);
    EXPECT_FALSE(correlateNode(p.free, p.loaded, {1500.0, 1100.0}, {kUnset, 1100.0}, settings).found);
    // Near the border the search keeps to candidates inside the loaded photograph.
    const Position nearRight{2760.0, 1100.0};
    const NodeMatch near = correlateNode(p.free, p.loaded, nearRight, nearRight, settings);
    if (near.found) {
        EXPECT_NEAR(near.loaded.x, p.exactLoaded(nearRight).x, 0.02 * kUnits);
    }

    // A flat photograph has nothing to match.
    const GreyImage grey{200, 150, std::vector<std::uint8_t>(200 * 150, 128)};
    EXPECT_FALSE(correlateNode(grey, p.loaded, {1500.0, 1100.0}, {1500.0, 1100.0}, settings).found);
    EXPECT_FALSE(correlateNode(p.free, grey, {1500.0, 1100.0}, {1500.0, 1100.0}, settings).found);
    // A hole of 12 pixels' radius through the material: a node at its centre has no material
    // under it although its subset, mostly on the speckle around, matches; a node on the
    // speckle 20 pixels from the hole's centre is found.
    GreyImage holedFree = p.free;
    GreyImage holedLoaded = p.loaded;
    for (int row = 0; row < 150; ++row)
        for (int column = 0; column < 200; ++column) {
            double x = column;
            double y = row;
            const auto at = static_cast<std::size_t>(row * 200 + column);
            if (std::hypot(x - 100.0, y - 75.0) < 12.0)
                holedFree.levels[at] = 40;
            p.map.backward(x, y);
            if (std::hypot(x - 100.0, y - 75.0) < 12.0)
                holedLoaded.levels[at] = 40;
        }
    for (const auto& [node, onMaterial] : {std::pair{Position{1500.0, 1125.0}, false},
                                           std::pair{Position{1530.0, 1140.0}, false},
                                           std::pair{Position{1800.0, 1125.0}, true}}) {
        const NodeMatch match = correlateNode(holedFree, holedLoaded, node, node, settings);
        EXPECT_EQ(match.found, onMaterial) << node.x << ", " << node.y << " ZNCC " << match.zncc;
    }
    // An unrelated speckle falls below the ZNCC threshold.
    const GreyImage other = SyntheticSpeckle(200, 150, 99).render([](double&, double&) {});
    const NodeMatch unrelated = correlateNode(p.free, other, {1500.0, 1100.0}, {1500.0, 1100.0}, settings);
    EXPECT_FALSE(unrelated.found);
    EXPECT_TRUE(std::isnan(unrelated.zncc));
}

TEST(NodeCorrelation, ANodeTheSearchCannotReachIsFoundFromANeighbourAndCancelLeavesNothing)
{
    const Photographs& p = photographs();
    CorrelationSettings settings;
    settings.searchRadius = 4;
    CorrelationTask task;
    // Three nodes in a chain: the first guessed right, the others 30 pixels off.
    task.free = {{1200.0, 1000.0}, {1650.0, 1050.0}, {2100.0, 1150.0}};
    task.guess = {p.exactLoaded(task.free[0]), {1650.0 - 450.0, 1050.0}, {2100.0 + 450.0, 1150.0}};
    task.neighbours = {{1}, {0, 2}, {1}};
    int calls = 0;
    int lastDone = 0;
    const auto matches = correlateNodes(p.free, p.loaded, task, settings, [&](int done, int total) {
        ++calls;
        EXPECT_EQ(total, 3);
        EXPECT_GE(done, lastDone);
        lastDone = done;
        return true;
    });
    ASSERT_TRUE(matches.has_value());
    ASSERT_EQ(matches->size(), 3u);
    for (std::size_t n = 0; n < 3; ++n) {
        ASSERT_TRUE((*matches)[n].found) << n;
        EXPECT_NEAR((*matches)[n].loaded.x, p.exactLoaded(task.free[n]).x, 0.01 * kUnits) << n;
        EXPECT_NEAR((*matches)[n].loaded.y, p.exactLoaded(task.free[n]).y, 0.01 * kUnits) << n;
    }
    EXPECT_GE(calls, 1);
    EXPECT_EQ(lastDone, 3);

    // Without the neighbours most guesses fail, and the matched features give new ones.
    task.neighbours.clear();
    const auto alone = correlateNodes(p.free, p.loaded, task, settings, {});
    ASSERT_TRUE(alone.has_value());
    for (std::size_t n = 0; n < 3; ++n) {
        ASSERT_TRUE((*alone)[n].found) << n;
        EXPECT_NEAR((*alone)[n].loaded.x, p.exactLoaded(task.free[n]).x, 0.01 * kUnits) << n;
    }

    EXPECT_FALSE(correlateNodes(p.free, p.loaded, task, settings, [](int, int) { return false; }));
}

} // namespace
} // namespace ai
