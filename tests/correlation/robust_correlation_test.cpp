// Correlations a user could not steer: large rigid motions, a strip stretched far beyond any
// search radius, and local baits for false matches.
#include "correlation/node_correlation.h"
#include "synthetic_speckle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iostream>
#include <numbers>

namespace ai {
namespace {

using ai::testing::SyntheticSpeckle;

constexpr double kUnits = kTwipsPerPixel;

// A grid of nodes (pixels), each joined to its right and lower neighbours both ways.
CorrelationTask gridTask(double left, double top, double step, int columns, int rows)
{
    CorrelationTask task;
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < columns; ++i) {
            const Position at{(left + step * i) * kUnits, (top + step * j) * kUnits};
            task.free.push_back(at);
            task.guess.push_back(at);
            std::vector<int> around;
            if (i > 0) around.push_back(j * columns + i - 1);
            if (i + 1 < columns) around.push_back(j * columns + i + 1);
            if (j > 0) around.push_back((j - 1) * columns + i);
            if (j + 1 < rows) around.push_back((j + 1) * columns + i);
            task.neighbours.push_back(around);
        }
    return task;
}

struct Outcome {
    int found = 0;
    double rms = 0.0;   // pixels, over the found nodes
    double worst = 0.0; // pixels
};

// The matches against the exact loaded positions that `forward` gives (pixels in place).
Outcome judge(const CorrelationTask& task, const std::vector<NodeMatch>& matches,
              const std::function<void(double&, double&)>& forward)
{
    Outcome o;
    double squares = 0.0;
    for (std::size_t n = 0; n < matches.size(); ++n) {
        if (!matches[n].found)
            continue;
        double x = task.free[n].x / kUnits;
        double y = task.free[n].y / kUnits;
        forward(x, y);
        const double error = std::hypot(matches[n].loaded.x / kUnits - x, matches[n].loaded.y / kUnits - y);
        squares += error * error;
        o.worst = std::max(o.worst, error);
        ++o.found;
    }
    o.rms = o.found > 0 ? std::sqrt(squares / o.found) : 0.0;
    return o;
}

TEST(RobustCorrelation, ARigidMotionOfAnyAngleIsFoundFromMatchedFeatures)
{
    // 200 x 200 pixels of material turned about its centre and moved 300 pixels to the right,
    // on a wider loaded photograph; every node starts from its free position.
    const SyntheticSpeckle speckle(200, 200, 21);
    const GreyImage free = speckle.render([](double&, double&) {});
    const CorrelationTask task = gridTask(40.0, 40.0, 20.0, 7, 7);
    for (const double degrees : {10.0, 45.0, 90.0, 170.0}) {
        const double angle = degrees * std::numbers::pi / 180.0;
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        const auto forward = [&](double& x, double& y) {
            const double dx = x - 100.0;
            const double dy = y - 100.0;
            x = 400.0 + c * dx - s * dy;
            y = 180.0 + s * dx + c * dy;
        };
        const GreyImage loaded = speckle.render(
            [&](double& x, double& y) {
                const double dx = x - 400.0;
                const double dy = y - 180.0;
                x = 100.0 + c * dx + s * dy;
                y = 100.0 - s * dx + c * dy;
            },
            560, 380);
        const auto matches = correlateNodes(free, loaded, task, {}, {});
        ASSERT_TRUE(matches.has_value());
        const Outcome o = judge(task, *matches, forward);
        EXPECT_GE(o.found, 49) << degrees << " degrees";
        EXPECT_LE(o.rms, 0.01) << degrees << " degrees";
        std::cout << degrees << " degrees: " << o.found << " of 49 found, RMS " << o.rms
                  << " px, worst " << o.worst << " px\n";
    }
}

TEST(RobustCorrelation, AStripStretchedFarBeyondTheSearchIsFollowedWithoutFalseMatches)
{
    // Fixed at its left end: the far end moves 240 to 360 pixels, out of every node's own
    // search, where other speckle can match a subset by chance.
    const SyntheticSpeckle speckle(800, 180, 31);
    const GreyImage free = speckle.render([](double&, double&) {});
    CorrelationTask task = gridTask(40.0, 50.0, 40.0, 19, 3);
    for (const double stretch : {0.30, 0.45}) {
        const auto forward = [&](double& x, double&) { x *= 1.0 + stretch; };
        const GreyImage loaded = speckle.render([&](double& x, double&) { x /= 1.0 + stretch; },
                                                static_cast<int>(800 * (1.0 + stretch)), 180);
        for (const int subset : {21, 33, 61}) {
            const CorrelationSettings settings{.subset = subset, .searchRadius = 200};
            const auto matches = correlateNodes(free, loaded, task, settings, {});
            ASSERT_TRUE(matches.has_value());
            const Outcome o = judge(task, *matches, forward);
            const int total = static_cast<int>(task.free.size());
            EXPECT_GE(o.found, 0.95 * total) << stretch << " stretch, subset " << subset;
            EXPECT_LE(o.worst, 0.5) << stretch << " stretch, subset " << subset;
            std::cout << stretch * 100 << " % stretch, " << subset << " px: " << o.found << " of "
                      << total << " found, RMS " << o.rms << " px, worst " << o.worst << " px\n";
        }
    }
}

// A material stretched 1 % along x, sheared slightly and moved by (3.4, -2.2) pixels.
struct AffinePair {
    SyntheticSpeckle speckle{240, 240, 41};
    static void forward(double& x, double& y)
    {
        const double dx = x - 120.0;
        const double dy = y - 120.0;
        x = 120.0 + 1.01 * dx + 0.004 * dy + 3.4;
        y = 120.0 - 0.003 * dx + 0.996 * dy - 2.2;
    }
    static void backward(double& x, double& y)
    {
        const double dx = x - 120.0 - 3.4;
        const double dy = y - 120.0 + 2.2;
        const double det = 1.01 * 0.996 + 0.004 * 0.003;
        x = 120.0 + (0.996 * dx - 0.004 * dy) / det;
        y = 120.0 + (0.003 * dx + 1.01 * dy) / det;
    }
    GreyImage free = speckle.render([](double&, double&) {});
    GreyImage loaded = speckle.render(backward);
    CorrelationTask task = gridTask(30.0, 30.0, 20.0, 10, 10);
};

const AffinePair& affinePair()
{
    static const AffinePair shared;
    return shared;
}

TEST(RobustCorrelation, NodesOnAPastedPatchOfOtherSpeckleAreNotFoundOrRight)
{
    const AffinePair& p = affinePair();
    // Every twentieth node's loaded point is covered by 21 pixels of an unrelated speckle.
    GreyImage loaded = p.loaded;
    const GreyImage other = SyntheticSpeckle(240, 240, 99).render([](double&, double&) {});
    std::vector<std::size_t> baited;
    std::vector<Position> patches;
    for (std::size_t n = 7; n < p.task.free.size(); n += 20) {
        baited.push_back(n);
        double x = p.task.free[n].x / kUnits;
        double y = p.task.free[n].y / kUnits;
        AffinePair::forward(x, y);
        patches.push_back({x, y});
        for (int row = static_cast<int>(y) - 10; row <= static_cast<int>(y) + 10; ++row)
            for (int column = static_cast<int>(x) - 10; column <= static_cast<int>(x) + 10; ++column) {
                const auto at = static_cast<std::size_t>(row * loaded.width + column);
                loaded.levels[at] = other.levels[at];
            }
    }
    const auto matches = correlateNodes(p.free, loaded, p.task, {}, {});
    ASSERT_TRUE(matches.has_value());
    const Outcome all = judge(p.task, *matches, AffinePair::forward);
    EXPECT_LE(all.worst, 0.5);
    // A node whose subset keeps clear of every patch is found.
    for (std::size_t n = 0; n < p.task.free.size(); ++n) {
        double x = p.task.free[n].x / kUnits;
        double y = p.task.free[n].y / kUnits;
        AffinePair::forward(x, y);
        if (std::all_of(patches.begin(), patches.end(), [&](Position patch) {
                return std::max(std::fabs(patch.x - x), std::fabs(patch.y - y)) > 27.0;
            })) {
            EXPECT_TRUE((*matches)[n].found) << n;
        }
    }
    int baitsFound = 0;
    for (const std::size_t n : baited)
        baitsFound += (*matches)[n].found ? 1 : 0;
    std::cout << "pasted patches: " << all.found << " of 100 found, " << baitsFound << " of "
              << baited.size() << " baited nodes found, worst " << all.worst << " px\n";
}

} // namespace
} // namespace ai
