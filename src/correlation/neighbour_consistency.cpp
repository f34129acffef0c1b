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
    std::vector<int> found;
    for (int m = 0; m < count; ++m)
        if (nodes[static_cast<std::size_t>(m)].found)
            found.push_back(m);
    std::vector<std::vector<int>> around(nodes.size());
    std::vector<std::pair<double, int>> nearest;
    for (const int n : found) {
        const Displacement& node = nodes[static_cast<std::size_t>(n)];
        auto& list = around[static_cast<std::size_t>(n)];
        if (static_cast<std::size_t>(n) < triangles.size())
            for (const int m : triangles[static_cast<std::size_t>(n)])
                if (m >= 0 && m < count && m != n && nodes[static_cast<std::size_t>(m)].found &&
                    std::find(list.begin(), list.end(), m) == list.end())
                    list.push_back(m);
        if (list.size() >= kFewestNeighbours)
            continue;
        // Squared distances: the same order, cheaper. The nodes already listed are among
        // the nearest taken, and skipped there.
        nearest.clear();
        for (const int m : found) {
            const Displacement& other = nodes[static_cast<std::size_t>(m)];
            const double dx = other.column - node.column;
            const double dy = other.row - node.row;
            if (m != n)
                nearest.emplace_back(dx * dx + dy * dy, m);
        }
        const std::size_t taken = std::min(nearest.size(), kNearestNeighbours);
        std::partial_sort(nearest.begin(), nearest.begin() + static_cast<std::ptrdiff_t>(taken),
                          nearest.end());
        const std::size_t listed = list.size();
        for (std::size_t i = 0; i < taken && list.size() < kNearestNeighbours; ++i)
            if (std::find(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(listed),
                          nearest[i].second) == list.begin() + static_cast<std::ptrdiff_t>(listed))
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
