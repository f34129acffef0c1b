// The example's nodes found on its loaded photograph by correlation, starting from no
// displacement at all, against their exact loaded positions; with and without noise.
#include "analysis/study.h"
#include "analysis/uncertainty.h"
#include "correlation/node_correlation.h"
#include "correlation/study_correlation.h"
#include "example_photographs.h"
#include "plate_example/plate_geometry.h"
#include "plate_example/plate_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <vector>

namespace ai::example {
namespace {

enum class Zone { Far, Plate, Straddling };

// Where the node's 31-pixel subset lies: wholly on the plate and three hole radii from the
// hole's centre, wholly on the plate, or across the hole or an edge.
Zone zoneOf(Position node)
{
    const double half = 15.0 * kTwipsPerPixel;
    const double x = std::lround(node.x / kTwipsPerPixel) * kTwipsPerPixel;
    const double y = std::lround(node.y / kTwipsPerPixel) * kTwipsPerPixel;
    const bool onPlate = x - half >= kPlateLeft && x + half <= kPlateRight &&
                         y - half >= kPlateTop && y + half <= kPlateBottom;
    // The subset's nearest point to the hole's centre.
    const double nx = std::clamp(kHoleCentre.x, x - half, x + half) - kHoleCentre.x;
    const double ny = std::clamp(kHoleCentre.y, y - half, y + half) - kHoleCentre.y;
    if (!onPlate || std::hypot(nx, ny) <= kHoleRadius)
        return Zone::Straddling;
    return std::hypot(node.x - kHoleCentre.x, node.y - kHoleCentre.y) >= 3.0 * kHoleRadius
               ? Zone::Far
               : Zone::Plate;
}

struct Errors {
    double squares = 0.0;
    double worst = 0.0;
    double normalisedSquares = 0.0; // of error / predicted sd, per coordinate
    int count = 0;
    void add(Position found, Position exact, const PositionCovariance& c)
    {
        const double ex = (found.x - exact.x) / kTwipsPerPixel;
        const double ey = (found.y - exact.y) / kTwipsPerPixel;
        squares += ex * ex + ey * ey;
        worst = std::max(worst, std::hypot(ex, ey));
        normalisedSquares += ex * ex * kTwipsPerPixel * kTwipsPerPixel / c.xx +
                             ey * ey * kTwipsPerPixel * kTwipsPerPixel / c.yy;
        ++count;
    }
    double rms() const { return std::sqrt(squares / count); }                // pixels
    double sdRatio() const { return std::sqrt(normalisedSquares / (2.0 * count)); }
};

struct Example {
    std::unique_ptr<ProjectState> mesh = std::make_unique<ProjectState>();
    GreyImage free = readExamplePhotograph("plate-free.png");
    GreyImage loaded = readExamplePhotograph("plate-loaded.png");
    CorrelationTask task;

    Example()
    {
        buildPlateMesh({}, *mesh);
        std::vector<std::set<int>> neighbours(static_cast<std::size_t>(mesh->NodeCount));
        for (int e = 1; e <= mesh->ElementCount; ++e)
            for (const int a : mesh->Elements[static_cast<std::size_t>(e)].nodes)
                for (const int b : mesh->Elements[static_cast<std::size_t>(e)].nodes)
                    if (a != b)
                        neighbours[static_cast<std::size_t>(a - 1)].insert(b - 1);
        for (int n = 1; n <= mesh->NodeCount; ++n) {
            task.free.push_back(mesh->FreeNodes[static_cast<std::size_t>(n)]);
            task.guess.push_back(mesh->FreeNodes[static_cast<std::size_t>(n)]);
            const auto& around = neighbours[static_cast<std::size_t>(n - 1)];
            task.neighbours.emplace_back(around.begin(), around.end());
        }
    }
    Position exact(std::size_t node) const { return mesh->LoadNodes[node + 1]; }
};

const Example& example()
{
    static const Example shared;
    return shared;
}

constexpr Material kPlateMaterial{kYoung, kPoisson};

// The triangles whose three corners have their subsets in the far field: there the
// subsets follow the field, and what is left of the error is the random part the
// figures describe.
std::vector<int> farTriangles(const Example& e)
{
    std::vector<int> far;
    for (int t = 1; t <= e.mesh->ElementCount; ++t) {
        const auto& corners = e.mesh->Elements[static_cast<std::size_t>(t)].nodes;
        if (std::all_of(corners.begin(), corners.end(), [&](int n) {
                return zoneOf(e.mesh->FreeNodes[static_cast<std::size_t>(n)]) == Zone::Far;
            }))
            far.push_back(t);
    }
    return far;
}

double triangleValue(const ProjectState& state, int triangle, Component component)
{
    const TriangleMotion motion = triangleMotion(state, triangle);
    return stressValue(
        elasticStress(triangleStrain(motion.free, motion.moved), kPlateMaterial, true), component);
}

double median(std::vector<double> values)
{
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The median over the far field of a triangle's standard deviation over its value.
double medianRelativeSd(const ProjectState& state, const std::vector<int>& far, Component component)
{
    const StudyUncertainty u = studyUncertainty(state, state.NodeCount, kPlateMaterial, component, true);
    std::vector<double> ratios;
    for (const int t : far)
        ratios.push_back(u.elements[static_cast<std::size_t>(t)]->value / triangleValue(state, t, component));
    return median(ratios);
}

// Correlated positions put into the mesh as the windows do, with their covariances.
std::unique_ptr<ProjectState> correlatedMesh(const Example& e, const std::vector<NodeMatch>& matches)
{
    auto state = std::make_unique<ProjectState>(*e.mesh);
    for (std::size_t n = 0; n < matches.size(); ++n)
        if (matches[n].found)
            takeMatch(*state, static_cast<int>(n) + 1, matches[n]);
    return state;
}

TEST(ExampleCorrelation, UnderNoiseTheFarFieldErrorStaysSmallAndThePredictedSpreadIsHonest)
{
    const Example& e = example();
    const std::vector<int> far = farTriangles(e);
    ASSERT_GT(far.size(), 200U);
    for (const auto& [fraction, goal] : {std::pair{0.01, 0.010}, std::pair{0.02, 0.018}}) {
        const GreyImage free = withNoise(e.free, fraction, 11);
        const GreyImage loaded = withNoise(e.loaded, fraction, 12);
        const auto matches = correlateNodes(free, loaded, e.task, {}, {});
        ASSERT_TRUE(matches.has_value());
        Errors positions;
        for (std::size_t n = 0; n < matches->size(); ++n)
            if (zoneOf(e.task.free[n]) == Zone::Far) {
                ASSERT_TRUE((*matches)[n].found) << n + 1;
                positions.add((*matches)[n].loaded, e.exact(n), (*matches)[n].covariance);
            }
        EXPECT_LE(positions.rms(), goal) << fraction;
        // The quadratic shape, where chosen, costs no precision against the affine one alone.
        const auto affine = correlateNodes(free, loaded, e.task, {.secondOrderWhereBetter = false}, {});
        ASSERT_TRUE(affine.has_value());
        Errors affinePositions;
        for (std::size_t n = 0; n < affine->size(); ++n)
            if (zoneOf(e.task.free[n]) == Zone::Far && (*affine)[n].found)
                affinePositions.add((*affine)[n].loaded, e.exact(n), (*affine)[n].covariance);
        EXPECT_LE(positions.rms(), 1.01 * affinePositions.rms()) << fraction;
        EXPECT_GE(positions.sdRatio(), 0.75) << fraction;
        EXPECT_LE(positions.sdRatio(), 1.3) << fraction;
        std::cout << "noise " << fraction * 100 << " %: far-field RMS " << positions.rms()
                  << " px (affine only " << affinePositions.rms() << "), worst " << positions.worst
                  << " px, RMS(error / sd) "
                  << positions.sdRatio() << "\n";

        // The triangles' values against those of the exact positions, in units of their
        // computed standard deviation: the error the figures claim to describe.
        const auto correlated = correlatedMesh(e, *matches);
        for (const Component component : {Component::Sxx, Component::VonMises}) {
            const StudyUncertainty u =
                studyUncertainty(*correlated, correlated->NodeCount, kPlateMaterial, component, true);
            double squares = 0.0;
            for (const int t : far) {
                const double error =
                    triangleValue(*correlated, t, component) - triangleValue(*e.mesh, t, component);
                squares += std::pow(error / u.elements[static_cast<std::size_t>(t)]->value, 2);
            }
            const double ratio = std::sqrt(squares / static_cast<double>(far.size()));
            EXPECT_GE(ratio, 0.7) << fraction << " component " << static_cast<int>(component);
            EXPECT_LE(ratio, 1.5) << fraction << " component " << static_cast<int>(component);
            std::cout << "  component " << static_cast<int>(component) << ": " << far.size()
                      << " far-field triangles, RMS(value error / sd) " << ratio
                      << ", median sd / value " << medianRelativeSd(*correlated, far, component)
                      << "\n";
        }
    }
}

TEST(ExampleCorrelation, FindsEveryNodeOnThePlateToAHundredthOfAPixelAndTheStudyGivesTheKnownField)
{
    const Example& e = example();
    // Points inside the hole, from its centre to a pixel from its edge, join the mesh's nodes
    // as neighbours of those on the hole's edge: their subsets hold the plate around the
    // hole, or nothing at all, but none is found, though found nodes lend them their warps.
    CorrelationTask task = e.task;
    for (const double radius : {0.0, 14.0, 24.0, 28.0, 29.0})
        for (int step = 0; step < 8; ++step) {
            const double angle = step * 0.785398;
            const Position p{kHoleCentre.x + radius * kTwipsPerPixel * std::cos(angle),
                             kHoleCentre.y + radius * kTwipsPerPixel * std::sin(angle)};
            task.free.push_back(p);
            task.guess.push_back(p);
            task.neighbours.emplace_back();
            for (int n = 0; n < static_cast<int>(e.task.free.size()); ++n)
                if (std::hypot(e.task.free[std::size_t(n)].x - kHoleCentre.x,
                               e.task.free[std::size_t(n)].y - kHoleCentre.y) < 1.1 * kHoleRadius) {
                    task.neighbours[std::size_t(n)].push_back(int(task.free.size()) - 1);
                    task.neighbours.back().push_back(n);
                }
        }
    const auto all = correlateNodes(e.free, e.loaded, task, {}, {});
    ASSERT_TRUE(all.has_value());
    for (std::size_t n = e.task.free.size(); n < all->size(); ++n)
        EXPECT_FALSE((*all)[n].found) << "point " << n << " in the hole, ZNCC " << (*all)[n].zncc;
    const std::vector<NodeMatch> mesh(
        all->begin(), all->begin() + static_cast<std::ptrdiff_t>(e.task.free.size()));
    Errors far;
    Errors plate;
    int straddling = 0;
    auto correlated = std::make_unique<ProjectState>(*e.mesh);
    for (std::size_t n = 0; n < mesh.size(); ++n) {
        const NodeMatch& m = mesh[n];
        const Zone zone = zoneOf(e.task.free[n]);
        if (zone != Zone::Straddling) {
            ASSERT_TRUE(m.found) << "node " << n + 1 << " lies on the speckle";
            plate.add(m.loaded, e.exact(n), m.covariance);
            if (zone == Zone::Far)
                far.add(m.loaded, e.exact(n), m.covariance);
        } else {
            // Its subset across the hole's edge or the plate's sides, the node on the plate or
            // on the edge itself: found, a little less accurately.
            ASSERT_TRUE(m.found) << "node " << n + 1 << " across an edge";
            ++straddling;
            EXPECT_LT(std::hypot(m.loaded.x - e.exact(n).x, m.loaded.y - e.exact(n).y),
                      0.2 * kTwipsPerPixel)
                << "node " << n + 1;
        }
        correlated->LoadNodes[n + 1] = m.found ? m.loaded : e.task.free[n];
    }
    EXPECT_GT(far.count, 150);
    EXPECT_LE(far.rms(), 0.005);
    EXPECT_LE(far.worst, 0.012);
    EXPECT_LE(plate.rms(), 0.015);
    EXPECT_LE(plate.worst, 0.04);
    std::cout << "far field: " << far.count << " nodes, RMS " << far.rms() << " px, worst "
              << far.worst << " px; on the plate: " << plate.count << " nodes, RMS " << plate.rms()
              << " px, worst " << plate.worst << " px; across an edge: " << straddling << "\n";

    // The study over the correlated positions: the far field within 3 % of Kirsch's, and
    // the concentration at the top and bottom of the hole.
    const StudyOutcome study = computeStudy(*correlated, correlated->NodeCount,
                                            {"2000", "0,3", Component::Sxx, true, {','}});
    ASSERT_TRUE(study.refusal.empty());
    for (int n = 1; n <= correlated->NodeCount; ++n) {
        const Position p = correlated->FreeNodes[static_cast<std::size_t>(n)];
        const Vector2 r{p.x - kHoleCentre.x, p.y - kHoleCentre.y};
        const double value = study.sums[static_cast<std::size_t>(n)].value;
        if (std::hypot(r.x, r.y) > 3.0 * kHoleRadius) {
            const double analytic = std::fabs(kirschStress(kLoad, r).xx);
            EXPECT_NEAR(value, analytic, 0.03 * analytic) << "node " << n;
        }
        if (std::fabs(r.x) < 1e-9 && std::fabs(std::fabs(r.y) - kHoleRadius) < 1e-9) {
            EXPECT_GE(value / kRemoteStress, 2.4) << "node " << n;
        }
    }

    // Taken with their covariances, the found positions give values hundreds of times surer
    // than the exact positions taken as clicks, known to the pixel.
    const std::vector<int> farField = farTriangles(e);
    const auto withCovariances = correlatedMesh(e, mesh);
    for (const Component component : {Component::Sxx, Component::VonMises}) {
        const double clicked = medianRelativeSd(*e.mesh, farField, component);
        const double found = medianRelativeSd(*withCovariances, farField, component);
        EXPECT_GT(clicked / found, 100.0) << static_cast<int>(component);
        std::cout << "component " << static_cast<int>(component) << ": far-field median sd / value "
                  << clicked << " clicked, " << found << " correlated\n";
    }
}

} // namespace
} // namespace ai::example
