// The analytic field that the worked example is made from must itself be right: its
// displacements must give its stresses, and the hole's edge must be free of traction.
#include "plate_example/plate_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace ai::example {
namespace {

// Plane-stress Hooke's law applied to the central-difference gradient of the displacement.
StressTensor stressFromDisplacement(const PlateLoad& load, Vector2 p)
{
    const double h = 1e-3;
    auto u = [&load](double x, double y) { return kirschDisplacement(load, {x, y}); };
    const Vector2 dx{(u(p.x + h, p.y).x - u(p.x - h, p.y).x) / (2 * h),
                     (u(p.x + h, p.y).y - u(p.x - h, p.y).y) / (2 * h)};
    const Vector2 dy{(u(p.x, p.y + h).x - u(p.x, p.y - h).x) / (2 * h),
                     (u(p.x, p.y + h).y - u(p.x, p.y - h).y) / (2 * h)};
    const double exx = dx.x, eyy = dy.y, gxy = dy.x + dx.y;
    const double k = load.young / (1.0 - load.poisson * load.poisson);
    return {k * (exx + load.poisson * eyy), k * (eyy + load.poisson * exx),
            k * (1.0 - load.poisson) / 2.0 * gxy};
}

TEST(Kirsch, DisplacementsGiveTheStressesEverywhereOutsideTheHole)
{
    for (const double r : {450.0, 470.0, 700.0, 1500.0, 6000.0}) {
        for (int i = 0; i < 24; ++i) {
            const double angle = 2.0 * std::numbers::pi * (i + 0.3) / 24.0;
            const Vector2 p{r * std::cos(angle), r * std::sin(angle)};
            const StressTensor exact = kirschStress(kLoad, p);
            const StressTensor derived = stressFromDisplacement(kLoad, p);
            EXPECT_NEAR(derived.xx, exact.xx, 1e-5) << r << " " << angle;
            EXPECT_NEAR(derived.yy, exact.yy, 1e-5) << r << " " << angle;
            EXPECT_NEAR(derived.xy, exact.xy, 1e-5) << r << " " << angle;
        }
    }
}

TEST(Kirsch, TheHoleIsFreeOfTractionAndConcentratesTheStressThreefold)
{
    for (int i = 0; i < 16; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / 16.0;
        const double c = std::cos(angle), s = std::sin(angle);
        const StressTensor t = kirschStress(kLoad, {450.0 * c, 450.0 * s});
        // Traction on the edge, whose normal is radial.
        EXPECT_NEAR(t.xx * c + t.xy * s, 0.0, 1e-12);
        EXPECT_NEAR(t.xy * c + t.yy * s, 0.0, 1e-12);
    }
    EXPECT_NEAR(kirschStress(kLoad, {0.0, -450.0}).xx, 120.0, 1e-12);
    EXPECT_NEAR(kirschStress(kLoad, {0.0, 450.0}).xx, 120.0, 1e-12);
    EXPECT_NEAR(kirschStress(kLoad, {450.0, 0.0}).yy, -40.0, 1e-12);
}

TEST(Kirsch, FarAwayThePlateIsInUniformTension)
{
    const StressTensor t = kirschStress(kLoad, {3e6, 2e6});
    EXPECT_NEAR(t.xx, 40.0, 1e-6);
    EXPECT_NEAR(t.yy, 0.0, 1e-6);
    EXPECT_NEAR(t.xy, 0.0, 1e-6);
    // Uniaxial stretch: 2 % along x, -0.6 % across, relative to the centre.
    const Vector2 u = kirschDisplacement(kLoad, {1e6, -1e6});
    EXPECT_NEAR(u.x / 1e6, 0.02, 1e-8);
    EXPECT_NEAR(u.y / -1e6, -0.006, 1e-8);
}

} // namespace
} // namespace ai::example
