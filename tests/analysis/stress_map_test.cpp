// The picture of a study: sampling points, scale, dots, colour bar and labels.
#include "analysis/stress_map.h"
#include "study_builder.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace ai {
namespace {

const NumberFormat comma{','};
constexpr std::size_t kBarPoints = 255 * 3;

NodeSumTable averages(std::initializer_list<double> values)
{
    NodeSumTable sums{};
    std::size_t n = 1;
    for (const double v : values)
        sums[n++] = NodeSum{1, v};
    return sums;
}

StressMap mapOf(const ProjectState& state, const NodeSumTable& sums)
{
    auto map = buildStressMap(state, state.NodeCount, sums, Component::Sxx, comma);
    EXPECT_TRUE(map.has_value());
    return map.value_or(StressMap{});
}

TEST(StressMap, SamplingPointsAreCentroidsOfTheTriangleAndItsThreeParts)
{
    const auto points = samplingPoints({{{0, 0}, {300, 0}, {0, 300}}}, {0.3, 0.6, 0.9});
    const double values[] = {0.6, 0.5, 0.6, 0.7};
    // Positions as their 15-digit texts hold them.
    const double xs[] = {100, 133.333333333333, 33.3333333333333, 133.333333333333};
    const double ys[] = {100, 33.3333333333333, 133.333333333333, 133.333333333333};
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(points[k].value, values[k]) << k;
        EXPECT_EQ(points[k].x, xs[k]) << k;
        EXPECT_EQ(points[k].y, ys[k]) << k;
    }
}

TEST(StressMap, LabelsTruncateToFourDecimals)
{
    EXPECT_EQ(valueLabel(2.0 / 3, comma), "0,6666");
    EXPECT_EQ(valueLabel(0.99999, comma), "0,9999");
    EXPECT_EQ(valueLabel(12, comma), "12");
    EXPECT_EQ(valueLabel(1e18, comma), "1E+18");
    EXPECT_EQ(valueLabel(1e306, comma), "1E+306"); // too large to scale, already whole
}

TEST(StressMap, EqualValuesPaintOnlyTheNodesInTheMiddleColour)
{
    test::StudyBuilder b;
    b.node({0, 0}, {0, 0});
    b.node({1000, 0}, {0, 0});
    b.node({0, 1000}, {0, 0});
    b.triangle(1, 2, 3);
    const StressMap map = mapOf(b.state, averages({0.8, 0.8, 0.8}));

    ASSERT_EQ(map.dots.size(), 27 + kBarPoints);
    for (std::size_t i = 0; i < 27; ++i)
        EXPECT_EQ(map.dots[i].colour, (Rgb{0, 255, 5})) << i;
    // Node 1 at the origin: corners, sides, then the centre.
    const float offsets[9][2] = {{-20, -20}, {20, -20}, {-20, 20}, {20, 20}, {-20, 0},
                                 {20, 0},    {0, 20},   {0, -20},  {0, 0}};
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_EQ(map.dots[i], (MapDot{offsets[i][0], offsets[i][1], {0, 255, 5}})) << i;
    EXPECT_EQ(map.maximumText, "0,8");
    EXPECT_EQ(map.minimumText, "0,8");
    EXPECT_EQ(map.title, "Constrainte normale selon x en MPa");
    EXPECT_FALSE(map.unusable);
}

TEST(StressMap, ScaleRunsFromTheSmallestToTheLargestNodeValue)
{
    test::StudyBuilder b;
    for (const Position p : {Position{0, 0}, {900, 0}, {0, 900}, {900, 900}})
        b.node(p, p);
    b.triangle(1, 2, 3);
    b.triangle(2, 4, 3);
    const StressMap map = mapOf(b.state, averages({0.1, 0.4, 0.4, 2.0 / 3}));

    EXPECT_EQ(map.dots[0].colour, (Rgb{0, 0, 255}));  // node 1, the minimum
    EXPECT_EQ(map.dots[27].colour, (Rgb{255, 5, 0})); // node 4, the maximum
    EXPECT_EQ(map.maximumText, "0,6666");
    EXPECT_EQ(map.minimumText, "0,1");
    ASSERT_EQ(map.dots.size(), 36 + 2 * 4 * 9 + kBarPoints);
    // All centroids first, each drawn from its centre outwards.
    EXPECT_EQ(map.dots[36].x, 300.0f);
    EXPECT_EQ(map.dots[36].y, 300.0f);
    EXPECT_EQ(map.dots[45].x, 600.0f);
    EXPECT_EQ(map.dots[45].y, 600.0f);

    // The colour bar: 255 rows of three points from the bottom up, in ramp B.
    const auto bar = map.dots.end() - kBarPoints;
    EXPECT_EQ(bar[0], (MapDot{13160, 3985, {0, 3, 254}}));
    EXPECT_EQ(bar[1].x, 13180.0f);
    EXPECT_EQ(bar[2].x, 13140.0f);
    EXPECT_EQ(bar[84 * 3].colour, (Rgb{0, 255, 171}));
    EXPECT_EQ(bar[126 * 3].colour, (Rgb{0, 255, 130}));
    EXPECT_EQ(bar[127 * 3].colour, (Rgb{128, 254, 0}));
    EXPECT_EQ(bar[254 * 3], (MapDot{13160, 4000 - 15 * 255, {255, 67, 0}}));
}

TEST(StressMap, ScaleFindsValuesAboveItsInitialMinimum)
{
    const MapRange range = mapRange(averages({3e18, 2e18}), 2);
    EXPECT_EQ(range.minimum, 2e18);
    EXPECT_EQ(range.maximum, 3e18);
}

TEST(StressMap, NoNodeExaminedIsAnUnusableMesh)
{
    // Triangles over nodes that the scale did not examine.
    test::StudyBuilder b = test::stretchedTriangle();
    const auto map = buildStressMap(b.state, 0, averages({0, 0, 0}), Component::VonMises, comma);
    ASSERT_TRUE(map.has_value());
    EXPECT_TRUE(map->unusable);
    EXPECT_EQ(map->dots.size(), 4 * 9 + kBarPoints);
    EXPECT_EQ(map->maximumText, "0");
    EXPECT_EQ(map->minimumText, "1E+18");
}

TEST(StressMap, PaintsOverTheFreePhotographFromTheBackgroundUp)
{
    test::FakeMap window;
    window.points.push_back({1, 1, {9, 9, 9}}); // the previous run's picture
    const StressMap map = mapOf(test::stretchedTriangle().state, averages({0.2, 0.2, 0.2}));
    paintStressMap(map, window, "libre.jpg");

    EXPECT_TRUE(window.shown);
    EXPECT_EQ(window.background, "libre.jpg");
    ASSERT_EQ(window.points.size(), map.dots.size());
    EXPECT_EQ(window.points[5].colour, map.dots[5].colour);
    EXPECT_EQ(window.title, map.title);
    EXPECT_EQ(window.maximum, "0,2");
    EXPECT_EQ(window.minimum, "0,2");
}

} // namespace
} // namespace ai
