#include "analysis/colour_ramps.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ai {
namespace {

TEST(ColourRamps, TellingValues)
{
    struct Row {
        double r;
        Rgb a, b;
    };
    const Row rows[] = {
        {0, {0, 0, 255}, {0, 0, 255}},
        {0.25, {0, 127, 130}, {0, 191, 192}},
        {1.0 / 3, {0, 170, 88}, {0, 255, 171}},
        {0.5, {0, 255, 5}, {0, 255, 130}}, // ramp B's green 382 saturates
        {std::nextafter(0.5, 1.0), {0, 254, 0}, {127, 254, 0}},
        {0.75, {127, 130, 0}, {191, 161, 0}},
        {1, {255, 5, 0}, {255, 67, 0}},
        {-0.5, {0, 0, 255}, {0, 0, 255}}, // clamped at both ends
        {2, {255, 5, 0}, {255, 67, 0}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(rampA(row.r), row.a) << row.r;
        EXPECT_EQ(rampB(row.r), row.b) << row.r;
    }
}

} // namespace
} // namespace ai
