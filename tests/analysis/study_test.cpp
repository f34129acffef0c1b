// The material typed, strains, stresses and nodal averages, their table, and the stress map.
#include "analysis/colour_ramps.h"
#include "analysis/element_stress.h"
#include "analysis/node_values.h"
#include "analysis/results_csv.h"
#include "analysis/stress_map.h"
#include "analysis/study.h"
#include "analysis/uncertainty_map.h"
#include "mesh/structured_grid.h"
#include "model/measurement.h"
#include "support/csv_records.h"
#include "support/study_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace ai {
namespace {

using test::px;

const NumberFormat comma{','};
const Material kWorked{75, 0.25}; // k = 80, G = 30, lambda = 30
constexpr auto npos = std::string::npos;
constexpr std::size_t kBarPoints = 255 * 3;

// Nodes with their free and loaded positions, then triangles.
ProjectState study(const test::NodePlaces& nodes,
                   std::initializer_list<std::array<int, 3>> triangles)
{
    return *test::studyOf(nodes, triangles);
}

// Free corners (0, 0), (100, 0), (0, 100); by default node 2 is 1 unit further right loaded.
ProjectState workedTriangle(Position loaded2 = {101, 0}, Position loaded3 = {0, 100})
{
    return study({{{0, 0}, {0, 0}}, {{100, 0}, loaded2}, {{0, 100}, loaded3}}, {{1, 2, 3}});
}

NodeSumTable averages(std::initializer_list<double> values)
{
    NodeSumTable sums{};
    std::size_t n = 1;
    for (const double v : values)
        sums[n++] = NodeSum{1, v};
    return sums;
}

StressMap mapOf(const ProjectState& s, int nodeCount, std::initializer_list<double> values)
{
    return buildStressMap(s, nodeCount, averages(values), Component::Sxx, comma).value();
}

TEST(Material, ReadsTheUsersFormatAndSaysWhatIsWrongWithWhatTheLawCannotUse)
{
    const auto read = readMaterial("75", "0,25", true, comma).material;
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(std::tuple(read->young, read->poisson), std::tuple(75.0, 0.25));
    // Away from its own law's poles a ratio is computed, however unphysical.
    EXPECT_TRUE(readMaterial("1", "0,5", true, comma).material &&
                readMaterial("1", "1", false, comma).material);

    const std::tuple<const char*, const char*, bool, const char*> cases[] = {
        {"1.5", "0,3", true, "Module de Young"}, {"1 000", "0,3", true, "Module de Young"},
        {"1", "-1", true, "contraintes planes"}, {"1", "1,0", true, "contraintes planes"},
        {"1", "0,5", false, "ni 0,5 ni -1"},     {"1", "-1", false, "ni 0,5 ni -1"}};
    for (const auto& [young, poisson, planeStress, said] : cases) {
        const auto refused = readMaterial(young, poisson, planeStress, comma);
        EXPECT_FALSE(refused.material.has_value()) << young << " " << poisson;
        EXPECT_NE(refused.refusal.find(said), npos) << refused.refusal;
        EXPECT_NE(refused.refusal.find("virgule"), npos) << refused.refusal;
    }
    EXPECT_NE(readMaterial("1", "0,3", true, {'.'}).refusal.find("point décimal"), npos);
    // An empty box is said in words, not quoted as if it were a value.
    EXPECT_EQ(readMaterial("", "0,3", true, comma).refusal,
              "Module de Young incorrect : la case est vide. Taper le module en MPa avec une "
              "virgule décimale, par exemple 72,5.");
    EXPECT_EQ(readMaterial("1", "0.3", true, comma).refusal,
              "Coefficient de Poisson incorrect : « 0.3 » n'est pas un nombre. Le taper avec une "
              "virgule décimale, par exemple 0,3.");
}

TEST(ElementStress, StrainFollowsTheDisplacementsNotTheWindingAndShearGivesTheWorkedValue)
{
    const std::array<Position, 3> corners{{{0, 0}, {100, 0}, {0, 100}}};
    const std::array<Displacement, 3> moved{{{0, 0}, {-1, 0.5}, {-1, 0}}};
    for (const Strain s :
         {triangleStrain(corners, moved),
          triangleStrain({corners[0], corners[2], corners[1]}, {moved[0], moved[2], moved[1]})})
        EXPECT_EQ(std::tuple(s.xx, s.yy, s.xy), std::tuple(-0.01, 0.0, -0.005));
    // Aligned corners have no area, hence no strain.
    const Strain aligned = triangleStrain({{{0, 0}, {50, 50}, {100, 100}}}, moved);
    EXPECT_EQ(std::tuple(aligned.xx, aligned.yy, aligned.xy), std::tuple(0.0, 0.0, 0.0));

    for (const bool planeStress : {true, false})
        EXPECT_NEAR(computeNodeValues(workedTriangle({100, 0}, {1, 100}), 3, kWorked,
                                      Component::Sxy, planeStress)
                        .sums[1]
                        .value,
                    0.3, 1e-14);
    EXPECT_DOUBLE_EQ(elasticStress({-0.01, 0, 0}, Material{}, true).xx, -0.01 / (1 - 0.47 * 0.47));

    // Von Mises of the worked shear (tau = -0.3): its last term is 6 x (tau x tau), which
    // here differs in the last place from (6 x tau) x tau.
    const Strain shear = triangleStrain(corners, {{{0, 0}, {0, 0}, {-1, 0}}});
    const Stress tau = elasticStress(shear, kWorked, true);
    EXPECT_EQ(std::tuple(tau.xx, tau.yy, tau.xy), std::tuple(0.0, 0.0, -0.3));
    EXPECT_EQ(stressValue(tau, Component::VonMises), std::sqrt(0.5) * std::sqrt(6 * (0.3 * 0.3)));
}

TEST(NodeValues, AveragesCountEveryListingTriangleOnceWhateverItsArea)
{
    // syy 0.2 in triangle 1, 0.4 in triangle 2 (twice the stretch); triangle 3 repeats a
    // corner: no area, value 0, node 4 counted twice. Node 6 is in no triangle.
    const ProjectState s = study({{{0, 0}, {0, 0}},
                                  {{100, 0}, {101, 0}},
                                  {{0, 100}, {0, 100}},
                                  {{-200, 0}, {-204, 0}},
                                  {{0, -50}, {0, -50}},
                                  {{5, 5}, {4, 4}}},
                                 {{1, 2, 3}, {1, 4, 5}, {4, 4, 5}});
    const NodeValues result = computeNodeValues(s, 6, kWorked, Component::Syy, true);
    ASSERT_EQ(result.refusal, "");
    // Node, count, average as its 15-digit text holds it.
    for (const auto& [n, count, value] :
         {std::tuple(1, 2.0, 0.3), {2, 1.0, 0.2}, {4, 3.0, 0.133333333333333}, {6, 0.0, 0.0}})
        EXPECT_EQ(std::tuple(result.sums[n].count, result.sums[n].value), std::tuple(count, value))
            << n;
}

// A grid stretched 1 % along x and shortened 2 % along y by the deformation bars, and moved on
// the loaded image: every triangle, of either winding, carries the same strain.
TEST(NodeValues, AUniformlyDeformedGridGivesBothElasticLawsAtEveryNode)
{
    ProjectState grid;
    ASSERT_TRUE(rebuildStructuredGrid(grid, {6, 4, 100, 100, 999, 1002, 40, 60, 3000, 10}).built);
    const double e = 210000, nu = 0.3, exx = 0.01, eyy = -0.02;
    const double k = e / (1 - nu * nu), lame = e * nu / ((1 + nu) * (1 - 2 * nu));
    const double m = lame + e / (1 + nu); // lambda + 2 mu
    for (const bool planeStress : {true, false}) {
        const double xx = planeStress ? k * (exx + nu * eyy) : m * exx + lame * eyy;
        const double yy = planeStress ? k * (eyy + nu * exx) : lame * exx + m * eyy;
        for (const auto& [component, value] :
             {std::tuple(Component::Sxx, std::abs(xx)),
              {Component::Syy, std::abs(yy)},
              {Component::Sxy, 0.0},
              {Component::VonMises, std::sqrt(xx * xx - xx * yy + yy * yy)}})
            for (std::size_t n = 1; n <= 24; ++n)
                EXPECT_NEAR(
                    computeNodeValues(grid, 24, {e, nu}, component, planeStress).sums[n].value,
                    value, 1e-9 * std::max(value, std::abs(xx)));
    }
}

TEST(NodeValues, RefusesNodesWithoutDisplacementAndOverflow)
{
    const auto refusal = [](const ProjectState& s, int nodeCount, Material m = kWorked) {
        return computeNodeValues(s, nodeCount, m, Component::VonMises, true).refusal;
    };
    ProjectState unlocated = workedTriangle(), dangling = workedTriangle();
    unlocated.LoadNodes[2] = Position{};
    dangling.Elements[1].nodes[0] = 4;
    EXPECT_NE(refusal(unlocated, 3).find("noeud 2 n'a pas de position sur la structure chargée"),
              npos);
    // Node 3 waits for its location, so only nodes 1 and 2 are computed.
    EXPECT_NE(refusal(workedTriangle(), 2).find("noeud 3"), npos);
    EXPECT_NE(refusal(dangling, 3).find("n'existe pas"), npos);
    // Each stress is finite, but the Von Mises sum of squares is not.
    EXPECT_EQ(refusal(workedTriangle(), 3, {1e200, 0.25}), kOverflowRefusal);
    EXPECT_EQ(refusal(workedTriangle(), 3, {1e150, 0.25}), "");
}

TEST(ResultsCsv, NumbersReadBackExactlyWithAPointAndAnEntryWithoutValueIsAnEmptyField)
{
    ProjectState s = study({{{0.1 + 0.2, 1e-300}, {-0.0, 1e300}},
                            {{2.0 / 3, -123456.789012345678}, {7941.35337618145, 0}}},
                           {});
    s.NodeSums[1] = {2.0, 1.0 / 3.0};
    const auto rows = test::csvRecords(nodeResultsCsv(s, 2, kWorked, Component::Sxx, true));
    ASSERT_EQ(rows.size(), 3u);
    ASSERT_EQ(rows[1].size() + rows[2].size(), 30u);
    const auto at = [&](std::size_t r, std::size_t f) { return test::csvNumber(rows[r][f]); };
    EXPECT_EQ(std::tuple(at(1, 1), at(1, 2), rows[1][3], at(1, 4), rows[1][7], at(1, 8)),
              std::tuple((0.1 + 0.2) / 15, 1e-300 / 15, "0", 1e300 / 15, "2", 1.0 / 3.0));
    EXPECT_EQ(std::tuple(at(2, 2), at(2, 3), at(2, 5), rows[2][8]),
              std::tuple(-123456.789012345678 / 15, 7941.35337618145 / 15,
                         (7941.35337618145 - 2.0 / 3) / 15, ""));
}

TEST(ResultsCsv, GivesEveryColumnInPhysicalSignsAndPixelsOnAKnownStretch)
{
    // Node 2 moves 1 px right (tension along x), node 3 0.5 px right and 2 px up
    // (compression along y and a shear), in the photograph's axes, y downwards.
    ProjectState s = study(
        {{px(0, 0), px(0, 0)}, {px(100, 0), px(101, 0)}, {px(0, 100), px(0.5, 98)}}, {{1, 2, 3}});
    s.NodeSums = computeNodeValues(s, 3, kWorked, Component::Sxx, true).sums;
    const auto nodes = test::csvRecords(nodeResultsCsv(s, 3, kWorked, Component::Sxx, true));
    const auto elements = test::csvRecords(elementResultsCsv(s, kWorked, Component::Sxx, true));

    using Table = std::vector<std::vector<std::string>>;
    const auto field = [](const Table& table, std::size_t row, const std::string& column) {
        const auto at = std::ranges::find(table[0], column);
        return at == table[0].end() ? std::string("?")
                                    : table[row][std::size_t(at - table[0].begin())];
    };
    // Plane stress, k = 80: sxx = 80 (0.01 - 0.25 x 0.02), syy = 80 (-0.02 + 0.25 x 0.01),
    // txy = 40 x 0.75 x 0.005; the mapped value is |sxx|.
    const std::tuple<const Table*, std::size_t, const char*, double> cases[] = {
        {&nodes, 3, "free_y_px", 100},
        {&nodes, 3, "loaded_x_px", 0.5},
        {&nodes, 3, "u_px", 0.5},
        {&nodes, 3, "v_px", -2},
        {&nodes, 3, "count", 1},
        {&nodes, 3, "average_MPa", 0.4},
        {&nodes, 3, "not_found", 0},
        {&elements, 1, "two_a_px2", 1e4},
        {&elements, 1, "exx", 0.01},
        {&elements, 1, "eyy", -0.02},
        {&elements, 1, "gxy", 0.005},
        {&elements, 1, "sxx_MPa", 0.4},
        {&elements, 1, "syy_MPa", -1.4},
        {&elements, 1, "txy_MPa", 0.15},
        {&elements, 1, "value_MPa", 0.4}};
    for (const auto& [table, row, column, value] : cases)
        EXPECT_NEAR(test::csvNumber(field(*table, row, column)), value, 1e-12) << column;

    // Without a study, the study's columns are empty.
    const auto bare = test::csvRecords(nodeResultsCsv(s, 3));
    EXPECT_EQ(std::tuple(field(bare, 3, "count"), field(bare, 3, "average_MPa"),
                         field(bare, 3, "sd_average_MPa"), field(bare, 3, "u_px")),
              std::tuple("", "", "", "0.5"));
}

// Two measured triangles, and a third whose node 6 a correlation did not find: its guess is
// wild, and would rule the map if it counted.
TEST(UnmeasuredNodes, LeaveTheirTrianglesWithoutValueInTheAveragesTheMapsAndTheTables)
{
    ProjectState s = study({{px(0, 0), px(0, 0)},
                            {px(100, 0), px(101, 0)},
                            {px(0, 100), px(0, 100)},
                            {px(100, 100), px(100, 100)},
                            {px(200, 0), px(201, 0)},
                            {px(0, 200), px(250, 380)}},
                           {{1, 2, 3}, {2, 5, 4}, {3, 4, 6}});
    s.LoadLocations[6].notFound = true;
    EXPECT_EQ(std::tuple(leftOutElementCount(s), isMeasured(s, 5), isMeasured(s, 6)),
              std::tuple(1, true, false));

    const NodeValues values = computeNodeValues(s, 6, kWorked, Component::Sxx, true);
    ASSERT_EQ(values.refusal, "");
    EXPECT_EQ(std::tuple(values.elements[1].value_or(-1), values.elements[2].value_or(-1),
                         values.elements[3].has_value()),
              std::tuple(0.8, 0.0, false));
    for (const auto& [n, count, average] :
         {std::tuple(3, 1.0, 0.8), {2, 2.0, 0.4}, {4, 1.0, 0.0}, {6, 0.0, kUnset}})
        EXPECT_EQ(std::tuple(values.sums[n].count, isSet(values.sums[n].value)),
                  std::tuple(count, isSet(average)))
            << n;
    s.NodeSums = values.sums;

    // The scale comes from the measured triangles; node 6 and triangle 3 get no dot.
    const StressMap map = buildStressMap(s, 6, values.sums, Component::Sxx, comma).value();
    EXPECT_EQ(std::tuple(map.dots.size(), map.maximumText, map.minimumText),
              std::tuple(5 * 9 + 2 * 36 + kBarPoints, "0,8", "0"));
    const auto dotAt = [](const StressMap& m, Position p) {
        return std::ranges::any_of(
            m.dots, [&](const MapDot& d) { return d.x == float(p.x) && d.y == float(p.y); });
    };
    EXPECT_FALSE(dotAt(map, px(0, 200)));
    EXPECT_FALSE(dotAt(map, px(100.0 / 3, 400.0 / 3))) << "the centroid of triangle 3";
    EXPECT_TRUE(dotAt(map, px(100.0 / 3, 100.0 / 3))) << "the centroid of triangle 1";

    const StudyUncertainty u = studyUncertainty(s, 6, kWorked, Component::Sxx, true);
    EXPECT_EQ(
        std::tuple(u.elements[3].has_value(), u.averages[6].has_value(), u.averages[4].has_value()),
        std::tuple(false, false, true));
    EXPECT_EQ(buildUncertaintyMap(s, 6, u, Component::Sxx, comma)->dots.size(), map.dots.size());

    // The tables: node 6's guess is no measurement; triangle 3 keeps only its geometry.
    const auto nodes = test::csvRecords(nodeResultsCsv(s, 6, kWorked, Component::Sxx, true));
    EXPECT_EQ(std::vector(nodes[6].begin() + 3, nodes[6].end()),
              (std::vector<std::string>{"", "", "", "", "0", "", "", "", "0", "", "", "1"}));
    const auto elements = test::csvRecords(elementResultsCsv(s, kWorked, Component::Sxx, true));
    EXPECT_EQ(std::tuple(elements[3][4], std::vector(elements[3].begin() + 5, elements[3].end())),
              std::tuple("10000", std::vector<std::string>(14, "")));
}

TEST(ColourRamps, TellingValues)
{
    const std::tuple<double, Rgb, Rgb> rows[] = {
        {0, {0, 0, 255}, {0, 0, 255}},
        {0.25, {0, 127, 130}, {0, 191, 192}},
        {1.0 / 3, {0, 170, 88}, {0, 255, 171}},
        {0.5, {0, 255, 5}, {0, 255, 130}}, // ramp B's green 382 saturates
        {std::nextafter(0.5, 1.0), {0, 254, 0}, {127, 254, 0}},
        {0.75, {127, 130, 0}, {191, 161, 0}},
        {1, {255, 5, 0}, {255, 67, 0}},
        {-0.5, {0, 0, 255}, {0, 0, 255}}, // clamped at both ends
        {2, {255, 5, 0}, {255, 67, 0}}};
    for (const auto& [r, a, b] : rows)
        EXPECT_EQ(std::tuple(rampA(r), rampB(r)), std::tuple(a, b)) << r;
}

TEST(StressMap, SamplingPointsAreCentroidsOfTheTriangleAndItsThreeSubTriangles)
{
    const auto p = samplingPoints({{{0, 0}, {300, 0}, {0, 300}}}, {0.3, 0.6, 0.9});
    const double third = 33.3333333333333, two = 133.333333333333; // as their texts hold them
    EXPECT_EQ((std::array{p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, p[3].x, p[3].y}),
              (std::array{100.0, 100.0, two, third, third, two, two, two}));
    EXPECT_EQ((std::array{p[0].value, p[1].value, p[2].value, p[3].value}),
              (std::array{0.6, 0.5, 0.6, 0.7}));
}

TEST(StressMap, EqualValuesPaintOnlyTheNodesInTheMiddleColourAndLabelsTruncate)
{
    const StressMap map = mapOf(workedTriangle(), 3, {0.8, 0.8, 0.8});
    ASSERT_EQ(map.dots.size(), 27 + kBarPoints);
    for (std::size_t i = 0; i < 27; ++i)
        EXPECT_EQ(map.dots[i].colour, (Rgb{0, 255, 5})) << i;
    // Node 1 at the origin: corners, sides, then the centre.
    const float offsets[9][2] = {{-20, -20}, {20, -20}, {-20, 20}, {20, 20}, {-20, 0},
                                 {20, 0},    {0, 20},   {0, -20},  {0, 0}};
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_EQ(std::tuple(map.dots[i].x, map.dots[i].y),
                  std::tuple(offsets[i][0], offsets[i][1]));
    EXPECT_EQ(std::tuple(map.maximumText, map.minimumText, map.title, map.unusable),
              std::tuple("0,8", "0,8", "Constrainte normale selon x en MPa", false));

    EXPECT_EQ(valueLabel(2.0 / 3, comma), "0,6666");
    EXPECT_EQ(valueLabel(0.99999, comma), "0,9999");
    EXPECT_EQ(valueLabel(12, comma), "12");
    EXPECT_EQ(valueLabel(1e18, comma), "1E+18");
    EXPECT_EQ(valueLabel(1e306, comma), "1E+306"); // too large to scale, already whole
}

TEST(StressMap, ScaleRunsFromTheSmallestToTheLargestNodeValueExaminedAndTheBarShowsIt)
{
    const ProjectState s = study(
        {{{0, 0}, {0, 0}}, {{900, 0}, {900, 0}}, {{0, 900}, {0, 900}}, {{900, 900}, {900, 900}}},
        {{1, 2, 3}, {2, 4, 3}});
    const StressMap map = mapOf(s, 4, {0.1, 0.4, 0.4, 2.0 / 3});
    ASSERT_EQ(map.dots.size(), 36 + 2 * 4 * 9 + kBarPoints);
    // Node 1 the minimum, node 4 the maximum; all centroids first, drawn from the centre out.
    EXPECT_EQ(std::tuple(map.dots[0].colour, map.dots[27].colour),
              std::tuple(Rgb{0, 0, 255}, Rgb{255, 5, 0}));
    EXPECT_EQ(std::tuple(map.maximumText, map.minimumText), std::tuple("0,6666", "0,1"));
    EXPECT_EQ((std::array{map.dots[36].x, map.dots[36].y, map.dots[45].x, map.dots[45].y}),
              (std::array{300.0f, 300.0f, 600.0f, 600.0f}));
    // The colour bar: 255 rows of three points from the bottom up, in ramp B.
    const auto bar = map.dots.end() - kBarPoints;
    EXPECT_EQ(bar[0], (MapDot{13160, 3985, {0, 3, 254}}));
    EXPECT_EQ(std::tuple(bar[1].x, bar[2].x), std::tuple(13180.0f, 13140.0f));
    EXPECT_EQ((std::array{bar[84 * 3].colour, bar[126 * 3].colour, bar[127 * 3].colour}),
              (std::array{Rgb{0, 255, 171}, Rgb{0, 255, 130}, Rgb{128, 254, 0}}));
    EXPECT_EQ(bar[254 * 3], (MapDot{13160, 4000 - 15 * 255, {255, 67, 0}}));

    // No node examined: an unusable mesh.
    const StressMap none = mapOf(workedTriangle(), 0, {0, 0, 0});
    EXPECT_EQ(std::tuple(none.unusable, none.dots.size(), none.maximumText, none.minimumText),
              std::tuple(true, 4 * 9 + kBarPoints, "0", "1E+18"));
}

TEST(StressMap, TheMinimumStartsAt1E18AndOnlyASmallerAverageLowersIt)
{
    const MapRange above = mapRange(averages({3e18, 2e18}), 2);
    EXPECT_EQ(std::tuple(above.minimum, above.maximum), std::tuple(1e18, 3e18));
    EXPECT_EQ(mapRange(averages({3e18, 5, 2e18}), 3).minimum, 5);

    // One triangle under E = 1E+21: every average is about 1E+19, above the initial minimum,
    // so the scale runs from 1E+18 and every node and point takes the top colour.
    const StudyOutcome outcome =
        computeStudy(workedTriangle(), 3, {"1E+21", "0,25", Component::Sxx, true, comma});
    ASSERT_EQ(outcome.refusal, "");
    const StressMap& map = outcome.map;
    ASSERT_EQ(map.dots.size(), 27 + 4 * 9 + kBarPoints);
    for (std::size_t i = 0; i < 27; ++i)
        EXPECT_EQ(map.dots[i].colour, (Rgb{255, 5, 0})) << i;
    for (std::size_t i = 27; i < 27 + 36; ++i)
        EXPECT_EQ(map.dots[i].colour, (Rgb{255, 67, 0})) << i;
    EXPECT_EQ(std::tuple(map.maximumText, map.minimumText, map.unusable),
              std::tuple("1,06666666666667E+19", "1E+18", false));
}

} // namespace
} // namespace ai
