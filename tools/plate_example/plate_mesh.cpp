#include "plate_example/plate_mesh.h"

#include "model/editing.h"
#include "model/number_text.h"
#include "plate_example/plate_geometry.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace ai::example {

namespace {

// Half-side of the square around the hole: the plate's half-height.
constexpr double kSquareHalfSide = (kPlateBottom - kPlateTop) / 2.0;

// The point at `fraction` of the square's perimeter, starting at the middle of its right
// side and turning the same way as the angle (towards +y first).
Vector2 squarePoint(double fraction)
{
    const double s = kSquareHalfSide;
    // d, in half-sides, runs 0..8 from the corner (s, -s) through (s, s), (-s, s), (-s, -s).
    const double d = std::fmod(fraction * 8.0 + 1.0, 8.0);
    if (d < 2.0)
        return {s, -s + d * s};
    if (d < 4.0)
        return {s - (d - 2.0) * s, s};
    if (d < 6.0)
        return {-s, s - (d - 4.0) * s};
    return {-s + (d - 6.0) * s, -s};
}

// Ring k's share of the way from the hole's edge to the square: geometric, so that the
// first layer has the requested share and the layers grow outwards.
std::vector<double> ringShares(int rings, double firstShare)
{
    const int layers = rings - 1;
    auto first = [layers](double q) { return (q - 1.0) / (std::pow(q, layers) - 1.0); };
    double low = 1.0 + 1e-9;
    double high = 10.0;
    for (int i = 0; i < 200; ++i) {
        const double mid = (low + high) / 2.0;
        (first(mid) > firstShare ? low : high) = mid;
    }
    const double q = (low + high) / 2.0;
    std::vector<double> shares(static_cast<std::size_t>(rings));
    for (int k = 0; k < rings; ++k)
        shares[static_cast<std::size_t>(k)] = (std::pow(q, k) - 1.0) / (std::pow(q, layers) - 1.0);
    return shares;
}

int addNode(ProjectState& state, Vector2 offset)
{
    const int n = ++state.NodeCount;
    const Vector2 free{roundTo15Digits(kHoleCentre.x + offset.x),
                       roundTo15Digits(kHoleCentre.y + offset.y)};
    const Vector2 loaded = loadedPosition(free);
    state.FreeNodes[static_cast<std::size_t>(n)] = {free.x, free.y};
    state.LoadNodes[static_cast<std::size_t>(n)] = {roundTo15Digits(loaded.x),
                                                    roundTo15Digits(loaded.y)};
    state.NodeSums[static_cast<std::size_t>(n)] = {0.0, 0.0};
    return n;
}

// Cuts the cell a-b-c-d (in turn around it) along the diagonal that points away from the
// hole's centre, like the centre's own direction, so that the mesh is symmetric about both axes.
void addCell(ProjectState& state, int a, int b, int c, int d)
{
    auto offset = [&state](int n) {
        const Position& p = state.FreeNodes[static_cast<std::size_t>(n)];
        return Vector2{p.x - kHoleCentre.x, p.y - kHoleCentre.y};
    };
    const double x = offset(a).x + offset(b).x + offset(c).x + offset(d).x;
    const double y = offset(a).y + offset(b).y + offset(c).y + offset(d).y;
    const double dx = offset(c).x - offset(a).x;
    const double dy = offset(c).y - offset(a).y;
    if ((dx * dy >= 0.0) == (x * y >= 0.0)) {
        appendElement(state, a, b, c);
        appendElement(state, a, c, d);
    } else {
        appendElement(state, a, b, d);
        appendElement(state, b, c, d);
    }
}

} // namespace

bool buildPlateMesh(const PlateMeshOptions& options, ProjectState& state)
{
    eraseAll(state);
    const int m = options.angularDivisions;
    const int rings = options.rings;
    const int rows = m / 4 + 1; // nodes along one side of the square
    const int sideColumns = options.sideColumns;
    const long nodes = static_cast<long>(m) * rings + 2L * sideColumns * rows;
    const long triangles = 2L * m * (rings - 1) + 4L * sideColumns * (rows - 1);
    if (m < 8 || m % 8 != 0 || rings < 2 || sideColumns < 1 || nodes > kMaxNodes ||
        triangles > kMaxElements)
        return false;

    // The O-grid: node (j, k) lies on ray j at ring k; ring 0 is the hole's edge.
    const auto shares = ringShares(rings, options.firstLayer / (kSquareHalfSide - kHoleRadius));
    std::vector<int> grid(static_cast<std::size_t>(m * rings));
    auto at = [&grid, m](int j, int k) -> int& {
        return grid[static_cast<std::size_t>((j % m + m) % m + m * k)];
    };
    for (int k = 0; k < rings; ++k) {
        for (int j = 0; j < m; ++j) {
            const double angle = 2.0 * std::numbers::pi * j / m;
            const Vector2 edge{kHoleRadius * std::cos(angle), kHoleRadius * std::sin(angle)};
            const Vector2 outer = squarePoint(static_cast<double>(j) / m);
            const double t = shares[static_cast<std::size_t>(k)];
            at(j, k) =
                addNode(state, {edge.x + t * (outer.x - edge.x), edge.y + t * (outer.y - edge.y)});
        }
    }
    for (int k = 0; k + 1 < rings; ++k)
        for (int j = 0; j < m; ++j)
            addCell(state, at(j, k), at(j + 1, k), at(j + 1, k + 1), at(j, k + 1));

    // The side blocks share the nodes of the square's sides: row i lies at y = -s + i * step.
    // The right side runs from ray -m/8 (y = -s) to ray m/8, the left one from 5m/8 to 3m/8.
    const double s = kSquareHalfSide;
    const double step = 2.0 * s / (rows - 1);
    for (const int side : {1, -1}) {
        const double reach = side > 0 ? kPlateRight - kHoleCentre.x : kHoleCentre.x - kPlateLeft;
        const double width = (reach - s) / sideColumns;
        std::vector<int> previous;
        for (int i = 0; i < rows; ++i)
            previous.push_back(at(side > 0 ? i - m / 8 : 5 * m / 8 - i, rings - 1));
        for (int c = 1; c <= sideColumns; ++c) {
            std::vector<int> column;
            for (int i = 0; i < rows; ++i)
                column.push_back(addNode(state, {side * (s + c * width), -s + i * step}));
            for (std::size_t i = 0; i + 1 < column.size(); ++i)
                addCell(state, previous[i], column[i], column[i + 1], previous[i + 1]);
            previous = column;
        }
    }
    return true;
}

} // namespace ai::example
