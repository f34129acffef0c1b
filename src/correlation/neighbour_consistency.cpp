#include "correlation/neighbour_consistency.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ai {

namespace {

constexpr std::size_t kFewestNeighbours = 4;
constexpr std::size_t kNearestNeighbours = 8;
constexpr double kNoise = 0.1;     // pixels
constexpr double kThreshold = 2.0;

double median(std::vector<double> values)
{
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1)
        return *middle;
    const double upper = *middle;
    return (upper + *std::max_element(values.begin(), middle)) / 2.0;
}

// Neighbour j's prediction of the displacement at the node, one component.
std::pair<double, double> predicted(const Displacement& from, const Displacement& at)
{
    const double dx = at.column - from.column;
    const double dy = at.row - from.row;
    const AffineWarp& w = from.warp;
    return {w.u + w.ux * dx + w.uy * dy, w.v + w.vx * dx + w.vy * dy};
}

} // namespace

std::vector<std::vector<int>> consistencyNeighbours(const std::vector<Displacement>& nodes,
                                                    const std::vector<std::vector<int>>& triangles)
{
    const int count = static_cast<int>(nodes.size());
    std::vector<std::vector<int>> around(nodes.size());
    for (int n = 0; n < count; ++n) {
        const Displacement& node = nodes[static_cast<std::size_t>(n)];
        if (!node.found)
            continue;
        auto& list = around[static_cast<std::size_t>(n)];
        if (static_cast<std::size_t>(n) < triangles.size())
            for (const int m : triangles[static_cast<std::size_t>(n)])
                if (m >= 0 && m < count && m != n && nodes[static_cast<std::size_t>(m)].found &&
                    std::find(list.begin(), list.end(), m) == list.end())
                    list.push_back(m);
        if (list.size() >= kFewestNeighbours)
            continue;
        std::vector<std::pair<double, int>> nearest;
        for (int m = 0; m < count; ++m) {
            const Displacement& other = nodes[static_cast<std::size_t>(m)];
            if (m == n || !other.found || std::find(list.begin(), list.end(), m) != list.end())
                continue;
            const double dx = other.column - node.column;
            const double dy = other.row - node.row;
            nearest.emplace_back(dx * dx + dy * dy, m); // squared: the same order, cheaper
        }
        const std::size_t wanted = std::min(nearest.size(), kNearestNeighbours - list.size());
        std::partial_sort(nearest.begin(), nearest.begin() + static_cast<std::ptrdiff_t>(wanted),
                          nearest.end());
        for (std::size_t i = 0; i < wanted; ++i)
            list.push_back(nearest[i].second);
    }
    return around;
}

bool passesMedianTest(const std::vector<Displacement>& nodes, const std::vector<int>& neighbours,
                      const Displacement& node)
{
    if (neighbours.empty())
        return true;
    std::vector<double> us;
    std::vector<double> vs;
    for (const int m : neighbours) {
        const auto [u, v] = predicted(nodes[static_cast<std::size_t>(m)], node);
        us.push_back(u);
        vs.push_back(v);
    }
    auto passes = [](const std::vector<double>& predictions, double own) {
        const double middle = median(predictions);
        std::vector<double> spread;
        for (const double p : predictions)
            spread.push_back(std::fabs(p - middle));
        return std::fabs(own - middle) <= kThreshold * (median(spread) + kNoise);
    };
    return passes(us, node.warp.u) && passes(vs, node.warp.v);
}

AffineWarp medianPrediction(const std::vector<Displacement>& nodes,
                            const std::vector<int>& neighbours, const Displacement& node)
{
    if (neighbours.empty())
        return node.warp;
    std::vector<double> values[6];
    for (const int m : neighbours) {
        const Displacement& from = nodes[static_cast<std::size_t>(m)];
        const auto [u, v] = predicted(from, node);
        const double terms[6] = {u, from.warp.ux, from.warp.uy, v, from.warp.vx, from.warp.vy};
        for (int t = 0; t < 6; ++t)
            values[t].push_back(terms[t]);
    }
    return {median(values[0]), median(values[1]), median(values[2]),
            median(values[3]), median(values[4]), median(values[5])};
}

} // namespace ai
