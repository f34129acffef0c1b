// The readable maps' values, signs, scales and read-out, and the study's report.
#include "analysis/colour_ramps.h"
#include "analysis/map_styles.h"
#include "analysis/study_report.h"
#include "support/study_builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace ai {
namespace {

const NumberFormat comma{','};
const Material kWorked{75, 0.25}; // plane stress: k = 80

// Free corners (0, 0), (100, 0), (0, 100), then (100, 100) for a second triangle; node 2
// loaded at `loaded2`.
ProjectState twoTriangles(Position loaded2)
{
    return *test::studyOf(
        {{{0, 0}, {0, 0}}, {{100, 0}, loaded2}, {{0, 100}, {0, 100}}, {{100, 100}, {100, 100}}},
        {{1, 2, 3}, {2, 4, 3}});
}

TEST(ReadableMaps, ShowTensionPositiveInRedAndCompressionNegativeInBlueOnAScaleAboutZero)
{
    // Node 2 one unit right on the loaded photograph stretches the first triangle along x:
    // the study's free-minus-loaded sign gives -0.8, the readable maps the physical +0.8.
    // Alone on its map, a triangle takes an end of its scale.
    const struct {
        Position loaded2;
        Component component;
        MapStyle style;
        double value;
        std::optional<Rgb> colour; // on a diverging scale
    } cases[] = {
        {{101, 0}, Component::Sxx, MapStyle::Signed, 0.8, Rgb{255, 0, 0}},
        {{99, 0}, Component::Sxx, MapStyle::Continuous, -0.8, Rgb{0, 0, 255}},
        {{101, 0}, Component::Syy, MapStyle::Signed, 0.2, Rgb{255, 0, 0}},
        {{101, 0}, Component::Sxx, MapStyle::Points, 0.8, std::nullopt}, // the study's magnitude
        {{99, 0}, Component::Sxx, MapStyle::Points, 0.8, std::nullopt},
        {{99, 0}, Component::VonMises, MapStyle::Signed, std::sqrt(0.52), std::nullopt},
    };
    for (const auto& c : cases) {
        ProjectState s = twoTriangles(c.loaded2);
        s.ElementCount = 1;
        const auto map = buildStyledMap(s, 3, kWorked, c.component, true, c.style, comma);
        ASSERT_TRUE(map);
        const MapTriangle& t = map->triangles[0];
        EXPECT_NEAR(t.value, c.value, 1e-12);
        EXPECT_GT(t.sd, 0.0);
        EXPECT_EQ(map->scale.diverging, c.colour.has_value());
        if (!c.colour)
            continue;
        EXPECT_EQ(map->scale.minimum, -map->scale.maximum);
        const Rgb colour = map->scale.colour(t.value);
        EXPECT_EQ(std::tuple(colour.red, colour.green, colour.blue),
                  std::tuple(c.colour->red, c.colour->green, c.colour->blue))
            << t.value;
    }
    // The readable title names the component, its sign, the hypothesis and the material.
    EXPECT_EQ(styledTitle(Component::Sxx, true, kWorked, comma),
              "Contrainte normale σxx (traction positive) – contraintes planes – E = 75 MPa, "
              "ν = 0,25");
}

TEST(ReadableMaps, LeaveTrianglesWithoutAMeasurementClearAndAverageTheRestAtTheNodes)
{
    ProjectState s = twoTriangles({101, 0});
    auto map = buildStyledMap(s, 4, kWorked, Component::Sxx, true, MapStyle::Continuous, comma);
    // Node 2 belongs to both triangles, node 1 to the first only.
    const double first = map->triangles[0].value, second = map->triangles[1].value;
    EXPECT_NEAR(map->triangles[0].nodeValues[1], (first + second) / 2, 1e-12);
    EXPECT_EQ(map->triangles[0].nodeValues[0], first); // node 1 is in one triangle only

    // A corner that a correlation did not find takes the value from its triangles, and a
    // triangle of no area has none either.
    s.LoadLocations[4].notFound = true;
    map = buildStyledMap(s, 4, kWorked, Component::Sxx, true, MapStyle::Signed, comma);
    EXPECT_TRUE(map->triangles[0].valued());
    EXPECT_FALSE(map->triangles[1].valued());
    EXPECT_EQ(map->triangles[0].nodeValues[1], first) << "node 2 keeps its measured triangle";
    s.FreeNodes[3] = {200, 0};
    map = buildStyledMap(s, 4, kWorked, Component::Sxx, true, MapStyle::Signed, comma);
    EXPECT_FALSE(map->triangles[0].valued());

    // The read-out: the last triangle listed under the point, or none outside them.
    map = buildStyledMap(twoTriangles({101, 0}), 4, kWorked, Component::Sxx, true, MapStyle::Signed,
                         comma);
    EXPECT_EQ(triangleAt(*map, 10, 10), &map->triangles[0]);
    EXPECT_EQ(triangleAt(*map, 90, 90), &map->triangles[1]);
    EXPECT_EQ(triangleAt(*map, 50, 50), &map->triangles[1]) << "on the shared edge";
    EXPECT_EQ(triangleAt(*map, 101, 50), nullptr);
    MapTriangle t = map->triangles[0];
    t.sd = 0.01234;
    EXPECT_EQ(triangleReadout(t, "MPa", comma), "0,8 ± 0,01234 MPa");
    t.value = kUnset;
    EXPECT_EQ(triangleReadout(t, "MPa", comma), "élément sans valeur");
}

TEST(ColourScale, GivesFiveToTenRoundTicksOverTheShortestBarThatHoldsTheRange)
{
    const struct {
        double low, high;
        bool diverging;
        std::vector<std::string> ticks;
    } cases[] = {
        {0.3, 0.8, false, {"0,3", "0,4", "0,5", "0,6", "0,7", "0,8"}},
        {-9.2, 119.6, true, {"-150", "-100", "-50", "0", "50", "100", "150"}},
        {0.8, 0.8, true, {"-0,8", "-0,6", "-0,4", "-0,2", "0,0", "0,2", "0,4", "0,6", "0,8"}},
        {0, 0, false, {"-1,0", "-0,5", "0,0", "0,5", "1,0"}},
        {12, 13.7, false, {"12,00", "12,25", "12,50", "12,75", "13,00", "13,25", "13,50", "13,75"}},
        {-1234,
         56789,
         false,
         {"-10000", "0", "10000", "20000", "30000", "40000", "50000", "60000"}},
        {0.0012, 0.0047, false, {"0,001", "0,002", "0,003", "0,004", "0,005"}},
        {0, 2.4, false, {"0,0", "0,5", "1,0", "1,5", "2,0", "2,5"}},
    };
    for (const auto& c : cases) {
        const ColourScale scale = roundScale(c.low, c.high, c.diverging);
        std::vector<std::string> ticks;
        for (const double tick : scale.ticks)
            ticks.push_back(scale.tickText(tick, comma));
        EXPECT_EQ(ticks, c.ticks) << c.low << " " << c.high;
        EXPECT_EQ(std::tuple(scale.minimum, scale.maximum),
                  std::tuple(scale.ticks.front(), scale.ticks.back()));
    }
    // White at zero between blue and red, the study's own ramp for a scale of magnitudes.
    const ColourScale diverging = roundScale(-2, 2, true);
    const Rgb white = diverging.colour(0), half = diverging.colour(-1);
    EXPECT_EQ(std::tuple(white.red, white.green, white.blue), std::tuple(255, 255, 255));
    EXPECT_EQ(std::tuple(half.red, half.green, half.blue), std::tuple(128, 128, 255));
    const Rgb middle = roundScale(0, 1, false).colour(0.5);
    EXPECT_EQ(std::tuple(middle.red, middle.green), std::tuple(rampB(0.5).red, rampB(0.5).green));
}

TEST(StudyReport, CountsTheMeasuredNodesAndTheCorrelationAndGivesTheValuesSpread)
{
    ProjectState s = twoTriangles({101, 0});
    for (const int n : {1, 2, 3})
        s.LoadLocations[static_cast<std::size_t>(n)].correlated = true;
    s.LoadLocations[4].notFound = true;
    const auto map =
        buildStyledMap(s, 4, kWorked, Component::Sxx, false, MapStyle::Signed, comma).value();
    const StudyReport report =
        summariseStudy(s, 4, map, Component::Sxx, false, kWorked,
                       {{"Structure libre", "libre.png", std::pair{640, 480}},
                        {"Structure chargée", "charge.png", std::nullopt}},
                       CorrelationChoices{41, 15});
    EXPECT_EQ(std::tuple(report.nodes, report.triangles, report.measuredNodes, report.found,
                         report.notFound, report.leftOutTriangles),
              std::tuple(4, 2, 3, 3, 1, 1));
    // One valued triangle: it is the least, the median and the greatest.
    ASSERT_EQ(report.values.size(), 3u);
    for (const ReportValue& v : report.values)
        EXPECT_EQ(std::tuple(v.element, v.value, v.sd),
                  std::tuple(1, map.triangles[0].value, map.triangles[0].sd));
    std::string text;
    for (const auto& [heading, lines] : report.sections(comma)) {
        text += heading + "\n";
        for (const std::string& line : lines)
            text += line + "\n";
    }
    EXPECT_EQ(text, "Photographies\n"
                    "Structure libre : libre.png (640 × 480 pixels)\n"
                    "Structure chargée : charge.png (illisible)\n"
                    "Maillage\n4 noeuds, 2 éléments\n3 noeuds mesurés sur 4\n"
                    "Corrélation\nImagettes de 41 × 41 pixels, recherche à 15 pixels\n"
                    "3 noeuds trouvés, 1 non trouvés\n1 éléments laissés sans valeur\n"
                    "Matériau et hypothèse\nModule de Young E = 75 MPa\n"
                    "Coefficient de Poisson ν = 0,25\nHypothèse de déformations planes\n"
                    "Valeur étudiée : contrainte normale σxx (traction positive), en MPa\n");
}

} // namespace
} // namespace ai
