// The example's nodes found on its loaded photograph by correlation, starting from no
// displacement at all, against their exact loaded positions; with and without noise.
#include "analysis/study.h"
#include "correlation/node_correlation.h"
#include "example_photographs.h"
#include "plate_example/plate_geometry.h"
#include "plate_example/plate_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>

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

TEST(ExampleCorrelation, FindsEveryNodeOnThePlateToAHundredthOfAPixelAndTheStudyGivesTheKnownField)
{
    const Example& e = example();
    const auto matches = correlateNodes(e.free, e.loaded, e.task, {}, {});
    ASSERT_TRUE(matches.has_value());
    Errors far;
    Errors plate;
    int straddling = 0;
    auto correlated = std::make_unique<ProjectState>(*e.mesh);
    for (std::size_t n = 0; n < matches->size(); ++n) {
        const NodeMatch& m = (*matches)[n];
        const Zone zone = zoneOf(e.task.free[n]);
        if (zone != Zone::Straddling) {
            ASSERT_TRUE(m.found) << "node " << n + 1 << " lies on the speckle";
            plate.add(m.loaded, e.exact(n), m.covariance);
            if (zone == Zone::Far)
                far.add(m.loaded, e.exact(n), m.covariance);
        } else if (m.found) {
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
              << " px, worst " << plate.worst << " px; straddling found: " << straddling << "\n";

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
}

TEST(ExampleCorrelation, UnderNoiseTheFarFieldErrorStaysSmallAndThePredictedSpreadIsHonest)
{
    const Example& e = example();
    for (const auto& [fraction, goal] : {std::pair{0.01, 0.010}, std::pair{0.02, 0.018}}) {
        const GreyImage free = withNoise(e.free, fraction, 11);
        const GreyImage loaded = withNoise(e.loaded, fraction, 12);
        const auto matches = correlateNodes(free, loaded, e.task, {}, {});
        ASSERT_TRUE(matches.has_value());
        Errors far;
        for (std::size_t n = 0; n < matches->size(); ++n)
            if (zoneOf(e.task.free[n]) == Zone::Far) {
                ASSERT_TRUE((*matches)[n].found) << n + 1;
                far.add((*matches)[n].loaded, e.exact(n), (*matches)[n].covariance);
            }
        EXPECT_LE(far.rms(), goal) << fraction;
        EXPECT_GE(far.sdRatio(), 0.75) << fraction;
        EXPECT_LE(far.sdRatio(), 1.3) << fraction;
        std::cout << "noise " << fraction * 100 << " %: far-field RMS " << far.rms()
                  << " px, worst " << far.worst << " px, RMS(error / sd) " << far.sdRatio() << "\n";
    }
}

} // namespace
} // namespace ai::example
