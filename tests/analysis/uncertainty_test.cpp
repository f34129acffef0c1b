// The standard deviations of the results against the scatter of many noisy draws, their
// columns in the tables and their map.
#include "analysis/colour_ramps.h"
#include "analysis/node_values.h"
#include "analysis/results_csv.h"
#include "analysis/uncertainty_map.h"
#include "mesh/structured_grid.h"
#include "support/csv_records.h"
#include "support/study_builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

namespace ai {
namespace {

const Material kPolymer{2000, 0.3};
constexpr double kPixelVariance = kPixelResolutionSd * kPixelResolutionSd;

// The sample standard deviation of a running series.
struct Scatter {
    double sum = 0, squares = 0;
    int count = 0;

    void add(double x) { sum += x, squares += x * x, ++count; }
    double sd() const { return std::sqrt((squares - sum * sum / count) / (count - 1)); }
    double rms() const { return std::sqrt(squares / count); }
};

// A 5 x 4 grid of 1500-unit cells, stretched 5 % along x and shortened 1 % along y on the
// loaded image; every third node's loaded position found by correlation with a covariance
// that couples x and y.
std::unique_ptr<ProjectState> deformedGrid(int deformationX = 1075, int deformationY = 985)
{
    auto grid = std::make_unique<ProjectState>();
    EXPECT_TRUE(rebuildStructuredGrid(
                    *grid, {5, 4, 1500, 1500, deformationX, deformationY, 300, 200, 500, 100})
                    .built);
    for (int n = 3; n <= grid->NodeCount; n += 3)
        grid->LoadLocations[static_cast<std::size_t>(n)] = {true, 0.98, {9.0, 4.0, 6.0}};
    return grid;
}

// Draws the positions again around the exact ones with the noise the figures assume:
// Gaussian, of the pixel's variance on both positions of a clicked node, of the
// correlation's covariance on the loaded position of a correlated one.
class NoisyPositions {
public:
    explicit NoisyPositions(const ProjectState& exact) : exact_(exact) {}

    void draw(ProjectState& noisy)
    {
        for (std::size_t n = 1; n <= static_cast<std::size_t>(exact_.NodeCount); ++n) {
            const LoadLocation& location = exact_.LoadLocations[n];
            const Position& free = exact_.FreeNodes[n];
            const Position& loaded = exact_.LoadNodes[n];
            if (location.correlated) {
                const auto& c = location.covariance;
                const double l11 = std::sqrt(c.xx), l21 = c.xy / l11;
                const double l22 = std::sqrt(c.yy - l21 * l21);
                const double a = gauss_(random_), b = gauss_(random_);
                noisy.FreeNodes[n] = free;
                noisy.LoadNodes[n] = {loaded.x + l11 * a, loaded.y + l21 * a + l22 * b};
            } else {
                noisy.FreeNodes[n] = {free.x + pixel(), free.y + pixel()};
                noisy.LoadNodes[n] = {loaded.x + pixel(), loaded.y + pixel()};
            }
        }
    }

private:
    double pixel() { return kPixelResolutionSd * gauss_(random_); }

    const ProjectState& exact_;
    std::mt19937 random_{20261207};
    std::normal_distribution<double> gauss_;
};

double centroidSd(const StudyUncertainty& u, const ProjectState& s, int e)
{
    LinearSpread centroid;
    for (const int n : s.Elements[static_cast<std::size_t>(e)].nodes)
        centroid.addScaled(*u.averages[static_cast<std::size_t>(n)], 1.0 / 3);
    return spreadSd(centroid, s);
}

// The scatter over noisy draws of each triangle's strain xx, stress xx and value, of each
// node's average, and of each triangle's mean of its corners' averages.
struct Scatters {
    std::vector<Scatter> strainXx, stressXx, value, average, centroid;
};

Scatters scatterOf(const ProjectState& exact, Component component, bool planeStress, int draws)
{
    const int nodes = exact.NodeCount, elements = exact.ElementCount;
    const std::vector<Scatter> triangles(elements + 1);
    Scatters s{triangles, triangles, triangles, std::vector<Scatter>(nodes + 1), triangles};
    auto noisy = std::make_unique<ProjectState>(exact);
    NoisyPositions noise(exact);
    for (int draw = 0; draw < draws; ++draw) {
        noise.draw(*noisy);
        const NodeValues values =
            computeNodeValues(*noisy, nodes, kPolymer, component, planeStress);
        for (int n = 1; n <= nodes; ++n)
            s.average[n].add(values.sums[n].value);
        for (int e = 1; e <= elements; ++e) {
            const TriangleMotion motion = triangleMotion(*noisy, e);
            const Strain strain = triangleStrain(motion.free, motion.moved);
            const Stress stress = elasticStress(strain, kPolymer, planeStress);
            s.strainXx[e].add(strain.xx);
            s.stressXx[e].add(stress.xx);
            s.value[e].add(stressValue(stress, component));
            double mean = 0;
            for (const int n : noisy->Elements[e].nodes)
                mean += values.sums[n].value / 3;
            s.centroid[e].add(mean);
        }
    }
    return s;
}

TEST(Uncertainty, TheFiguresMatchTheScatterOfNoisyPositionsForTrianglesNodesAndTheMapsMeans)
{
    const auto exact = deformedGrid();
    for (const auto& [component, planeStress] :
         {std::pair(Component::VonMises, true), {Component::Sxx, false}}) {
        SCOPED_TRACE(planeStress ? "Von Mises, plane stress" : "sigma xx, plane strain");
        const StudyUncertainty figures =
            studyUncertainty(*exact, exact->NodeCount, kPolymer, component, planeStress);
        const Scatters scatter = scatterOf(*exact, component, planeStress, 2000);
        for (int e = 1; e <= exact->ElementCount; ++e) {
            const ElementSd& sd = figures.elements[e].value();
            EXPECT_NEAR(scatter.strainXx[e].sd() / sd.strain.xx, 1.0, 0.1) << "triangle " << e;
            EXPECT_NEAR(scatter.stressXx[e].sd() / sd.stress.xx, 1.0, 0.1) << "triangle " << e;
            EXPECT_NEAR(scatter.value[e].sd() / sd.value, 1.0, 0.1) << "triangle " << e;
            EXPECT_NEAR(scatter.centroid[e].sd() / centroidSd(figures, *exact, e), 1.0, 0.1) << e;
        }
        for (int n = 1; n <= exact->NodeCount; ++n)
            EXPECT_NEAR(scatter.average[n].sd() / spreadSd(*figures.averages[n], *exact), 1.0, 0.1)
                << "node " << n;
    }
}

// Where the stress is zero the value has no gradient: its figure is the root mean square of
// the value, and the nodal averages add it whole, which bounds their scatter.
TEST(Uncertainty, AtZeroStressTheFigureIsTheValuesRootMeanSquareAndBoundsTheAverages)
{
    const auto exact = deformedGrid(1000, 1000);
    for (const Component component : {Component::VonMises, Component::Sxy}) {
        const StudyUncertainty figures =
            studyUncertainty(*exact, exact->NodeCount, kPolymer, component, true);
        const Scatters scatter = scatterOf(*exact, component, true, 1500);
        for (int e = 1; e <= exact->ElementCount; ++e)
            EXPECT_NEAR(scatter.value[e].rms() / figures.elements[e]->value, 1.0, 0.1) << e;
        for (int n = 1; n <= exact->NodeCount; ++n) {
            const double bound = spreadSd(*figures.averages[n], *exact);
            EXPECT_LE(scatter.average[n].rms(), 1.05 * bound) << n;
            EXPECT_GE(scatter.average[n].rms(), 0.3 * bound) << n;
        }
    }
}

// Free corners (0, 0), (100, 0), (0, 100) stretched 1 % along x; a fourth node, correlated,
// and a triangle of no area.
std::unique_ptr<ProjectState> workedStudy()
{
    auto s = test::studyOf(
        {{{0, 0}, {0, 0}}, {{100, 0}, {101, 0}}, {{0, 100}, {0, 100}}, {{100, 100}, {101, 100}}},
        {{1, 2, 3}, {2, 4, 3}, {1, 1, 4}});
    s->LoadLocations[4] = {true, 0.995, {0.0004, 0.0001, 0.0009}};
    return s;
}

TEST(ResultsCsv, EndsTheTablesWithTheStandardDeviationsAndLeavesThemEmptyWithoutAnArea)
{
    const auto s = workedStudy();
    const NodeValues values = computeNodeValues(*s, 4, kPolymer, Component::Sxx, true);
    s->NodeSums = values.sums;
    const StudyUncertainty u = studyUncertainty(*s, 4, kPolymer, Component::Sxx, true);

    const auto nodes = test::csvRecords(nodeResultsCsv(*s, 4, kPolymer, Component::Sxx, true));
    ASSERT_EQ(nodes.size(), 5u);
    // A clicked node: both positions to the pixel. The correlated one: its covariance alone.
    // Written in pixels.
    const double clicked = std::sqrt(2 * kPixelVariance) / 15;
    const auto at = [&](std::size_t n, std::size_t f) { return test::csvNumber(nodes[n][f]); };
    EXPECT_EQ(std::tuple(at(1, 9), at(1, 10), nodes[1][11], nodes[1][12]),
              std::tuple(clicked, clicked, "0", ""));
    EXPECT_NEAR(at(4, 9), 0.02 / 15, 1e-17);
    EXPECT_NEAR(at(4, 10), 0.03 / 15, 1e-17);
    EXPECT_EQ(std::tuple(nodes[4][11], nodes[4][12]), std::tuple("1", "0.995"));
    for (std::size_t n = 1; n <= 4; ++n)
        EXPECT_EQ(at(n, 13), spreadSd(*u.averages[n], *s)) << n;

    const auto elements = test::csvRecords(elementResultsCsv(*s, kPolymer, Component::Sxx, true));
    ASSERT_EQ(elements.size(), 4u);
    // exx = (b1 u1 + b2 u2) / 2A with b1 = -100, b2 = 100, 2A = 10^4 and each u to
    // sqrt(2) pixels' resolution.
    const double sdExx = std::sqrt(2 * 100.0 * 100.0 * 2 * kPixelVariance) / 1e4;
    EXPECT_NEAR(test::csvNumber(elements[1][12]), sdExx, 1e-15);
    const double k = 2000 / (1 - 0.09);
    EXPECT_EQ(elements[1][18], elements[1][15]) << "|sigma xx| has the sd of sigma xx";
    EXPECT_GT(test::csvNumber(elements[1][15]), k * sdExx) << "eyy adds to sigma xx";
    const ElementSd& second = u.elements[2].value();
    EXPECT_EQ((std::array{test::csvNumber(elements[2][14]), test::csvNumber(elements[2][17]),
                          test::csvNumber(elements[2][18])}),
              (std::array{second.strain.xy, second.stress.xy, second.value}));
    EXPECT_EQ(std::vector(elements[3].begin() + 12, elements[3].end()),
              std::vector<std::string>(7, ""))
        << "no area, no figure";
    EXPECT_EQ(elements[3][11], "0");
}

TEST(UncertaintyMap, PaintsTheSameDotsAsTheMapWithTheStandardDeviationsUnderItsTitle)
{
    const auto s = deformedGrid();
    s->LoadNodes[7].x += 40; // values that differ, so that the map paints its triangles
    const NumberFormat comma{','};
    const NodeValues values = computeNodeValues(*s, s->NodeCount, kPolymer, Component::Sxx, true);
    const StudyUncertainty u = studyUncertainty(*s, s->NodeCount, kPolymer, Component::Sxx, true);
    const StressMap map =
        buildStressMap(*s, s->NodeCount, values.sums, Component::Sxx, comma).value();
    const StressMap sd = buildUncertaintyMap(*s, s->NodeCount, u, Component::Sxx, comma).value();

    EXPECT_EQ(sd.title, "Constrainte normale selon x en MPa (écart type)");
    ASSERT_EQ(sd.dots.size(), map.dots.size());
    for (std::size_t i = 0; i < map.dots.size(); ++i)
        ASSERT_EQ(std::tuple(sd.dots[i].x, sd.dots[i].y), std::tuple(map.dots[i].x, map.dots[i].y))
            << i;
    // The scale runs over the nodes' figures; the colour bar is the map's.
    double low = 1e300, high = 0;
    for (int n = 1; n <= s->NodeCount; ++n) {
        const double v = spreadSd(*u.averages[n], *s);
        low = std::min(low, v), high = std::max(high, v);
    }
    EXPECT_EQ(std::tuple(sd.minimumText, sd.maximumText),
              std::tuple(valueLabel(low, comma), valueLabel(high, comma)));
    for (int n = 1; n <= s->NodeCount; ++n)
        EXPECT_EQ(sd.dots[9 * (n - 1)].colour,
                  rampA((spreadSd(*u.averages[n], *s) - low) / (high - low)))
            << n;
    const std::size_t centroids = 9 * static_cast<std::size_t>(s->NodeCount);
    for (int e = 1; e <= s->ElementCount; ++e)
        EXPECT_EQ(sd.dots[centroids + 9 * (e - 1)].colour,
                  rampB((centroidSd(u, *s, e) - low) / (high - low)))
            << e;
    EXPECT_TRUE(std::equal(sd.dots.end() - 255 * 3, sd.dots.end(), map.dots.end() - 255 * 3));
}

} // namespace
} // namespace ai
