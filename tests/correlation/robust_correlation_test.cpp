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

} // namespace
} // namespace ai
