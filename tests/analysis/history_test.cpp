// A selection's value and standard deviation at one step, and the curve's table.
#include "analysis/history.h"
#include "analysis/uncertainty.h"
#include "mesh/structured_grid.h"
#include "support/csv_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace ai {
namespace {

using Kind = HistorySelection::Kind;
using Q = HistoryQuantity;
const Material kPolymer{2000, 0.3};

// A 3 x 3 grid of 100-pixel cells (nodes down each column), stretched 5 % along x and
// shortened 1 % along y, moved 200 and 100 units; node 5 (the centre) found by correlation.
std::unique_ptr<ProjectState> stretchedGrid()
{
    auto grid = std::make_unique<ProjectState>();
    EXPECT_TRUE(rebuildStructuredGrid(*grid, {3, 3, 1500, 1500, 1075, 985, 300, 200, 500, 300})
                    .built);
    grid->LoadLocations[5] = {true, 0.98, {9.0, 4.0, 6.0}};
    return grid;
}

TEST(History, AUniformStretchGivesEveryQuantityOverNodesTrianglesAndAGauge)
{
    const auto grid = stretchedGrid();
    // The plane stress law of the uniform strain (0.05, -0.01, 0).
    const double k = 2000 / (1 - 0.09);
    const double sxx = k * (0.05 - 0.3 * 0.01), syy = k * (-0.01 + 0.3 * 0.05);
    const double mises = std::sqrt(sxx * sxx - sxx * syy + syy * syy);
    const GaugeRectangle everything{{0, 0}, {10000, 10000}};
    const struct {
        Q quantity;
        double expected; // at node 5, the centre, and over the whole grid
    } cases[] = {{Q::U, (200 + 75) / 15.0}, {Q::V, (100 - 15) / 15.0},
                 {Q::Exx, 0.05},            {Q::Eyy, -0.01},
                 {Q::Gxy, 0.0},             {Q::Sxx, sxx},
                 {Q::Syy, syy},             {Q::Txy, 0.0},
                 {Q::VonMises, mises}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(quantityName(c.quantity)));
        // Strains and stresses are uniform: every triangle and the gauge over all of them give
        // the centre's; a triangle's displacement is its corners' mean.
        const auto& corners = grid->Elements[3].nodes;
        const bool uniform = c.quantity != Q::U && c.quantity != Q::V;
        const HistorySelection all{Kind::Triangles, {1, 2, 3, 4, 5, 6, 7, 8}, {}};
        const struct {
            HistorySelection selection;
            std::optional<HistorySelection> sameAs; // for a displacement
        } selections[] = {
            {{Kind::Nodes, {5}, {}}, std::nullopt},
            {{Kind::Triangles, {3}, {}},
             HistorySelection{Kind::Nodes, {corners[0], corners[1], corners[2]}, {}}},
            {{Kind::Gauge, {}, everything}, all}};
        for (const auto& [selection, sameAs] : selections) {
            const auto value = selectionValue(*grid, selection, c.quantity, kPolymer, true);
            ASSERT_TRUE(value.has_value());
            if (!uniform && sameAs) {
                const auto other = selectionValue(*grid, *sameAs, c.quantity, kPolymer, true);
                EXPECT_NEAR(value->value, other->value, 1e-9 * (1 + std::fabs(other->value)));
            } else {
                EXPECT_NEAR(value->value, c.expected, 1e-9 * (1 + std::fabs(c.expected)));
            }
            EXPECT_GT(value->sd, 0.0);
        }
    }
    EXPECT_EQ(gaugeTriangles(*grid, {{0, 0}, {1800, 1700}}).size(), 2u); // one cell
    EXPECT_EQ(quantityUnit(Q::U), "px");
    EXPECT_EQ(quantityUnit(Q::Gxy), "");
    EXPECT_EQ(quantityUnit(Q::VonMises), "MPa");
}

TEST(History, AnExtensometerGivesTheStretchBetweenItsNodesWithItsSd)
{
    const auto grid = stretchedGrid();
    const double dx = 3000 * 1.05, dy = 3000 * 0.99; // nodes 1 and 9: opposite corners
    const struct {
        std::vector<int> nodes;
        double stretch;
    } cases[] = {{{1, 7}, 0.05},
                 {{3, 1}, -0.01},
                 {{1, 9}, std::hypot(dx, dy) / std::hypot(3000, 3000) - 1}};
    for (const auto& c : cases) {
        const auto value =
            selectionValue(*grid, {Kind::Extensometer, c.nodes, {}}, Q::Sxx, kPolymer, true);
        ASSERT_TRUE(value.has_value());
        EXPECT_NEAR(value->value, c.stretch, 1e-12);
    }
    // Along x, each node's displacement has twice the pixel's variance along the line.
    const auto along = selectionValue(*grid, {Kind::Extensometer, {1, 7}, {}}, Q::U, kPolymer, true);
    EXPECT_NEAR(along->sd, 2 * kPixelResolutionSd / 3000, 1e-12); // over d0
}

TEST(History, WhatIsNotMeasuredLeavesAGapOrContributesNothing)
{
    auto grid = stretchedGrid();
    grid->LoadLocations[1].notFound = true;
    const auto only = [&](HistorySelection selection, Q q) {
        return selectionValue(*grid, selection, q, kPolymer, false);
    };
    // Nothing measured: no value.
    const HistorySelection gaps[] = {
        {Kind::Nodes, {1}, {}},           {Kind::Nodes, {0, 10, 1001}, {}},
        {Kind::Triangles, {0, 9}, {}},    {Kind::Extensometer, {1, 7}, {}},
        {Kind::Extensometer, {7, 7}, {}}, {Kind::Extensometer, {7}, {}},
        {Kind::Gauge, {}, {{0, 0}, {10, 10}}}};
    for (const auto& gap : gaps)
        for (const Q q : kHistoryQuantities)
            EXPECT_FALSE(only(gap, q).has_value());
    // A node or triangle not measured adds nothing to the others' mean.
    int withCorner1 = 0;
    for (int e = 1; e <= grid->ElementCount; ++e) {
        const auto& nodes = grid->Elements[static_cast<std::size_t>(e)].nodes;
        if (std::find(nodes.begin(), nodes.end(), 1) != nodes.end()) {
            ++withCorner1;
            EXPECT_FALSE(only({Kind::Triangles, {e}, {}}, Q::Exx).has_value());
            EXPECT_EQ(only({Kind::Triangles, {e, 8}, {}}, Q::U)->value,
                      only({Kind::Triangles, {8}, {}}, Q::U)->value);
        }
    }
    EXPECT_GT(withCorner1, 0);
    EXPECT_EQ(only({Kind::Nodes, {1, 5}, {}}, Q::V)->value, only({Kind::Nodes, {5}, {}}, Q::V)->value);
    EXPECT_EQ(gaugeTriangles(*grid, {{0, 0}, {10000, 10000}}).size(),
              8u - static_cast<std::size_t>(withCorner1));
}

TEST(History, TheSdsAreTheUncertaintysFigures)
{
    const auto grid = stretchedGrid();
    for (const bool planeStress : {true, false}) {
        const StudyUncertainty sxx =
            studyUncertainty(*grid, grid->NodeCount, kPolymer, Component::Sxx, planeStress);
        const StudyUncertainty mises =
            studyUncertainty(*grid, grid->NodeCount, kPolymer, Component::VonMises, planeStress);
        const auto sd = [&](HistorySelection selection, Q q) {
            return selectionValue(*grid, selection, q, kPolymer, planeStress)->sd;
        };
        for (int e = 1; e <= grid->ElementCount; ++e) {
            const ElementSd& figures = *sxx.elements[static_cast<std::size_t>(e)];
            const struct {
                Q quantity;
                double sd;
            } cases[] = {{Q::Exx, figures.strain.xx},   {Q::Eyy, figures.strain.yy},
                         {Q::Gxy, figures.strain.xy},   {Q::Sxx, figures.stress.xx},
                         {Q::Syy, figures.stress.yy},   {Q::Txy, figures.stress.xy},
                         {Q::VonMises, mises.elements[static_cast<std::size_t>(e)]->value}};
            for (const auto& c : cases)
                EXPECT_NEAR(sd({Kind::Triangles, {e}, {}}, c.quantity), c.sd, 1e-9 * c.sd);
        }
        // A node's stress is the nodal average: |sxx| is sxx where every sxx is positive.
        for (int n = 1; n <= grid->NodeCount; ++n) {
            const double average = spreadSd(*sxx.averages[static_cast<std::size_t>(n)], *grid);
            EXPECT_NEAR(sd({Kind::Nodes, {n}, {}}, Q::Sxx), average, 1e-9 * average);
        }
        const PositionCovariance found = displacementCovariance(*grid, 5);
        EXPECT_NEAR(sd({Kind::Nodes, {5}, {}}, Q::U), std::sqrt(found.xx) / 15, 1e-12);
        EXPECT_NEAR(sd({Kind::Nodes, {5}, {}}, Q::V), std::sqrt(found.yy) / 15, 1e-12);
    }
}

TEST(History, TheCurveTableHasAFieldPerStepAndEmptyFieldsForAGap)
{
    HistoryCurve curve{"Jauge", "σxx", "MPa",
                       {{1, "a.png", HistoryValue{12.5, 0.25}},
                        {2, "b,c.png", std::nullopt},
                        {3, "d.png", HistoryValue{-0.0, 1e-20}}}};
    EXPECT_EQ(curveAxisLabel(curve), "σxx (MPa)");
    EXPECT_EQ(curveCsv(curve), "step,photograph,value_MPa,sd_MPa\r\n1,a.png,12.5,0.25\r\n"
                               "2,\"b,c.png\",,\r\n3,d.png,0,1e-20\r\n");
    curve.quantity = "εxx";
    curve.unit = "";
    EXPECT_EQ(curveAxisLabel(curve), "εxx");
    EXPECT_EQ(curveCsv(curve).substr(0, 28), "step,photograph,value,sd\r\n1,");
}

} // namespace
} // namespace ai
