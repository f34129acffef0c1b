// The automatic choice of the quadratic shape under noise, where the field is affine and
// the six extra parameters can only add noise.
#include "correlation/node_correlation.h"
#include "synthetic_speckle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <random>

namespace ai {
namespace {

using testing::withNoise;

TEST(ShapeChoice, UnderNoiseAnAffineFieldIsMeasuredAsPreciselyAsByTheAffineShapeAlone)
{
    // Stretched 1 % along x, sheared a little, moved by (3.4, -2.2) pixels.
    const testing::SyntheticSpeckle speckle(240, 240, 41);
    const GreyImage free = speckle.render([](double&, double&) {});
    const GreyImage loaded = speckle.render([](double& x, double& y) {
        const double dx = x - 123.4;
        const double dy = y - 117.8;
        const double det = 1.01 * 0.996 + 0.004 * 0.003;
        x = 120.0 + (0.996 * dx - 0.004 * dy) / det;
        y = 120.0 + (0.003 * dx + 1.01 * dy) / det;
    });
    CorrelationTask task;
    for (int j = 0; j < 10; ++j)
        for (int i = 0; i < 10; ++i) {
            const Position at{(30.0 + 20.0 * i) * kTwipsPerPixel,
                              (30.0 + 20.0 * j) * kTwipsPerPixel};
            task.free.push_back(at);
            task.guess.push_back(at);
            task.neighbours.push_back({});
        }
    auto rms = [&](const GreyImage& f, const GreyImage& l, bool secondOrder) {
        const auto matches =
            correlateNodes(f, l, task, {.secondOrderWhereBetter = secondOrder}, {});
        double squares = 0.0;
        int found = 0;
        for (std::size_t n = 0; n < task.free.size(); ++n) {
            if (!(*matches)[n].found)
                continue;
            const double x = task.free[n].x / kTwipsPerPixel - 120.0;
            const double y = task.free[n].y / kTwipsPerPixel - 120.0;
            const Position at = (*matches)[n].loaded;
            const double ex = 123.4 + 1.01 * x + 0.004 * y - at.x / kTwipsPerPixel;
            const double ey = 117.8 - 0.003 * x + 0.996 * y - at.y / kTwipsPerPixel;
            squares += ex * ex + ey * ey;
            ++found;
        }
        EXPECT_GE(found, 95);
        return std::sqrt(squares / std::max(found, 1));
    };
    for (const double fraction : {0.01, 0.02}) {
        double chosen = 0.0;
        double affine = 0.0;
        for (const unsigned seed : {11u, 13u, 15u}) {
            const GreyImage f = withNoise(free, fraction, seed);
            const GreyImage l = withNoise(loaded, fraction, seed + 1);
            chosen += rms(f, l, true);
            affine += rms(f, l, false);
        }
        EXPECT_LE(chosen, 1.002 * affine) << fraction;
        std::cout << "affine field, noise " << fraction * 100 << " %: RMS " << chosen / 3.0
                  << " px, affine shape alone " << affine / 3.0 << " px\n";
    }
}

} // namespace
} // namespace ai
