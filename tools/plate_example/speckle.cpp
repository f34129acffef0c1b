#include "plate_example/speckle.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace ai::example {

namespace {

constexpr std::uint64_t kSeed = 0x5eed'0f'91a7e5ULL;
constexpr double kCell = 6.0; // pixels; one dot per cell

// splitmix64: a fixed, portable mixing of the seed and the cell (the standard library's
// distributions differ between implementations).
std::uint64_t mix(std::uint64_t z)
{
    z += 0x9e3779b97f4a7c15ULL;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

struct Dot {
    double x, y, radius, depth;
};

Dot dotOfCell(long cx, long cy)
{
    std::uint64_t h = mix(kSeed ^ mix(static_cast<std::uint64_t>(cx) * 0x100000001b3ULL ^
                                      static_cast<std::uint64_t>(cy)));
    auto unit = [&h] {
        h = mix(h);
        return static_cast<double>(h >> 11) * 0x1.0p-53;
    };
    const double x = (static_cast<double>(cx) + unit()) * kCell;
    const double y = (static_cast<double>(cy) + unit()) * kCell;
    return {x, y, 1.2 + 1.0 * unit(), 0.55 + 0.45 * unit()};
}

} // namespace

double speckleBrightness(double x, double y)
{
    const long cx = static_cast<long>(std::floor(x / kCell));
    const long cy = static_cast<long>(std::floor(y / kCell));
    double darkness = 0.0;
    // A dot reaches 2.5 radii (at most 5.5 pixels, less than a cell): the cells around suffice.
    for (long i = cx - 1; i <= cx + 1; ++i) {
        for (long j = cy - 1; j <= cy + 1; ++j) {
            const Dot dot = dotOfCell(i, j);
            const double d2 =
                ((x - dot.x) * (x - dot.x) + (y - dot.y) * (y - dot.y)) / (dot.radius * dot.radius);
            if (d2 < 6.25)
                darkness = std::max(darkness, dot.depth * std::exp(-d2));
        }
    }
    return 1.0 - darkness;
}

} // namespace ai::example
