// Which points are taken as on the material: a speckled plate with a hole and a straight
// side, seen against a plain background darker than the speckle's dots, with noise.
#include "correlation/material_under_node.h"
#include "synthetic_speckle.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ai {
namespace {

constexpr double kHoleX = 140.0;
constexpr double kHoleY = 150.0;
constexpr double kHoleRadius = 30.0;
constexpr double kSide = 330.3; // the plate ends here along x

// The photograph, each pixel the mean of 5 x 5 samples.
GreyImage plate()
{
    const testing::SyntheticSpeckle speckle(400, 300, 11);
    GreyImage image{400, 300, std::vector<std::uint8_t>(400 * 300)};
    for (int row = 0; row < 300; ++row)
        for (int column = 0; column < 400; ++column) {
            double sum = 0.0;
            for (int a = 0; a < 5; ++a)
                for (int b = 0; b < 5; ++b) {
                    const double x = column - 0.5 + (a + 0.5) / 5.0;
                    const double y = row - 0.5 + (b + 0.5) / 5.0;
                    const bool material = std::hypot(x - kHoleX, y - kHoleY) >= kHoleRadius && x < kSide;
                    sum += material ? speckle.brightness(x, y) : 0.05;
                }
            image.levels[static_cast<std::size_t>(row * 400 + column)] =
                static_cast<std::uint8_t>(std::lround(255.0 * sum / 25.0));
        }
    return image;
}

TEST(MaterialUnderNode, NoPointAPixelInsideTheHoleOrBeyondTheSideAndNoiseFreeEveryPointOnTheEdges)
{
    const GreyImage noiseFree = plate();
    for (const double noise : {0.0, 0.01, 0.02}) {
        const GreyImage image = testing::withNoise(noiseFree, noise, 3);
        const double variance = (255.0 * noise) * (255.0 * noise);
        // Signed distance from the edge, positive on the plate.
        for (const double onPlate : {-12.0, -3.0, -1.0, 0.0, 1.0, 3.0}) {
            int taken = 0;
            int points = 0;
            for (int k = 0; k < 36; ++k, ++points) {
                const double angle = k * 0.1745 + 0.05;
                const double r = kHoleRadius + onPlate;
                taken += onMaterial(image, kHoleX + r * std::cos(angle), kHoleY + r * std::sin(angle), 31,
                                    variance);
            }
            for (int y = 40; y <= 260; y += 10, ++points)
                taken += onMaterial(image, kSide - onPlate, y, 31, variance);
            if (onPlate < 0.0) {
                EXPECT_EQ(taken, 0) << "noise " << noise << ", " << -onPlate << " px off the plate";
            } else if (noise == 0.0) {
                EXPECT_EQ(taken, points) << onPlate << " px on the plate";
            }
        }
    }
}

} // namespace
} // namespace ai
