// Strains and stresses of one triangle, and the nodal averages of a study.
#include "analysis/element_stress.h"
#include "analysis/node_values.h"
#include "study_builder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ai {
namespace {

using test::StudyBuilder;

const Material kWorked{75, 0.25}; // k = 80, G = 30, lambda = 30

// The mapped value of node 1 for each component, in the order sxx, syy, sxy, vm.
std::array<double, 4> nodeValues(const ProjectState& state, const Material& material,
                                 bool planeStress)
{
    std::array<double, 4> values{};
    const Component components[] = {Component::Sxx, Component::Syy, Component::Sxy,
                                    Component::VonMises};
    for (std::size_t i = 0; i < 4; ++i) {
        const NodeValues result =
            computeNodeValues(state, state.NodeCount, material, components[i], planeStress);
        EXPECT_EQ(result.refusal, "");
        values[i] = result.sums[1].value;
    }
    return values;
}

void expectValues(const std::array<double, 4>& actual, const std::array<double, 4>& expected)
{
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-14) << "component " << i;
}

TEST(ElementStress, StretchAndShearGiveTheWorkedValuesUnderBothHypotheses)
{
    const auto stretched = test::stretchedTriangle().state;
    expectValues(nodeValues(stretched, kWorked, true), {0.8, 0.2, 0, std::sqrt(0.52)});
    expectValues(nodeValues(stretched, kWorked, false), {0.9, 0.3, 0, std::sqrt(0.63)});

    const auto sheared = test::shearedTriangle().state;
    EXPECT_NEAR(nodeValues(sheared, kWorked, true)[2], 0.3, 1e-14);
    EXPECT_NEAR(nodeValues(sheared, kWorked, false)[2], 0.3, 1e-14);

    const Stress initial = elasticStress({-0.01, 0, 0}, Material{}, true);
    EXPECT_DOUBLE_EQ(initial.xx, -0.01 / (1 - 0.47 * 0.47));
}

TEST(ElementStress, StrainFollowsTheDisplacementsNotTheWinding)
{
    const std::array<Position, 3> corners{{{0, 0}, {100, 0}, {0, 100}}};
    const std::array<Displacement, 3> moved{{{0, 0}, {-1, 0.5}, {-1, 0}}};
    const Strain strain = triangleStrain(corners, moved);
    EXPECT_DOUBLE_EQ(strain.xx, -0.01);
    EXPECT_DOUBLE_EQ(strain.yy, 0.0);
    EXPECT_DOUBLE_EQ(strain.xy, -0.005);

    const Strain reversed =
        triangleStrain({corners[0], corners[2], corners[1]}, {moved[0], moved[2], moved[1]});
    EXPECT_DOUBLE_EQ(reversed.xx, strain.xx);
    EXPECT_DOUBLE_EQ(reversed.yy, strain.yy);
    EXPECT_DOUBLE_EQ(reversed.xy, strain.xy);

    // Aligned or repeated corners have no area, hence no strain and no stress.
    const Strain aligned = triangleStrain({{{0, 0}, {50, 50}, {100, 100}}}, moved);
    EXPECT_EQ(aligned.xx, 0.0);
    EXPECT_EQ(aligned.xy, 0.0);
}

TEST(NodeValues, AveragesCountEveryListingTriangleOnceWhateverItsArea)
{
    StudyBuilder b = test::stretchedTriangle();   // syy 0.2 at nodes 1, 2, 3
    const int far = b.node({-200, 0}, {-204, 0}); // twice the stretch: syy 0.4
    const int low = b.node({0, -50}, {0, -50});
    const int alone = b.node({500, 500}, {400, 400});
    b.triangle(1, far, low);
    b.triangle(far, far, low); // a repeated corner: no area, value 0, counted twice

    const NodeValues result =
        computeNodeValues(b.state, b.state.NodeCount, kWorked, Component::Syy, true);
    ASSERT_EQ(result.refusal, "");
    EXPECT_EQ(result.sums[1].count, 2.0);
    EXPECT_DOUBLE_EQ(result.sums[1].value, 0.3);
    EXPECT_DOUBLE_EQ(result.sums[2].value, 0.2);
    EXPECT_EQ(result.sums[static_cast<std::size_t>(far)].count, 3.0);
    // Held as its 15-digit text holds it.
    EXPECT_EQ(result.sums[static_cast<std::size_t>(far)].value, 0.133333333333333);
    EXPECT_EQ(result.sums[static_cast<std::size_t>(alone)].count, 0.0);
    EXPECT_EQ(result.sums[static_cast<std::size_t>(alone)].value, 0.0);
}

TEST(NodeValues, UniformStrainGivesBothElasticLawsAtEveryNode)
{
    // 1 % along x, none along y: the loaded image is the free one shortened along x.
    StudyBuilder b;
    const double xs[] = {120, 1375.5, 2990, 4410.25};
    const double ys[] = {80, 960.5, 2300};
    for (const double y : ys)
        for (const double x : xs)
            b.node({x, y}, {x - 0.01 * x, y});
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col) {
            const int n = row * 4 + col + 1;
            b.triangle(n, n + 1, n + 5);
            b.triangle(n, n + 4, n + 5); // the other winding
        }

    const double e = 210000, nu = 0.3, strain = 0.01;
    const double stressXx = e / (1 - nu * nu) * strain, stressYy = nu * stressXx;
    const double lame = e * nu / ((1 + nu) * (1 - 2 * nu)), mu = e / (2 * (1 + nu));
    const double strainXx = (lame + 2 * mu) * strain, strainYy = lame * strain;
    const auto vonMises = [](double a, double b) { return std::sqrt(a * a - a * b + b * b); };

    for (const bool planeStress : {true, false}) {
        const double xx = planeStress ? stressXx : strainXx;
        const double yy = planeStress ? stressYy : strainYy;
        const auto atNode = [&](Component c, std::size_t n) {
            return computeNodeValues(b.state, b.state.NodeCount, {e, nu}, c, planeStress)
                .sums[n]
                .value;
        };
        for (std::size_t n = 1; n <= 12; ++n) {
            EXPECT_NEAR(atNode(Component::Sxx, n), xx, 1e-9 * xx) << n;
            EXPECT_NEAR(atNode(Component::Syy, n), yy, 1e-9 * yy) << n;
            EXPECT_NEAR(atNode(Component::Sxy, n), 0, 1e-9 * xx) << n;
            EXPECT_NEAR(atNode(Component::VonMises, n), vonMises(xx, yy), 1e-9 * xx) << n;
        }
    }
}

TEST(NodeValues, RefusesNodesWithoutDisplacementAndOverflow)
{
    const auto refusal = [](const StudyBuilder& b, int nodeCount, Material m = kWorked) {
        return computeNodeValues(b.state, nodeCount, m, Component::VonMises, true).refusal;
    };
    StudyBuilder unlocated = test::stretchedTriangle();
    unlocated.state.LoadNodes[2] = Position{};
    EXPECT_NE(refusal(unlocated, 3).find("noeud 2 n'a pas de position sur la structure chargée"),
              std::string::npos);

    // Node 3 waits for its location, so only nodes 1 and 2 are computed.
    EXPECT_NE(refusal(test::stretchedTriangle(), 2).find("noeud 3"), std::string::npos);

    StudyBuilder dangling = test::stretchedTriangle();
    dangling.state.Elements[1].nodes[0] = 4;
    EXPECT_NE(refusal(dangling, 3).find("n'existe pas"), std::string::npos);

    // Each stress is finite, but the Von Mises sum of squares is not.
    EXPECT_EQ(refusal(test::stretchedTriangle(), 3, {1e200, 0.25}), kOverflowRefusal);
    EXPECT_EQ(refusal(test::stretchedTriangle(), 3, {1e150, 0.25}), "");
}

} // namespace
} // namespace ai
