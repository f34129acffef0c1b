#include "mesh/neighbour_lists.h"

#include "mesh/free_distance.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace ai {

namespace {

using NodeTable = std::array<Position, kTableSlots>;

const Position& at(const NodeTable& nodes, int n) { return nodes[static_cast<std::size_t>(n)]; }

bool isNeighbour(const Position& p, const Position& q, double limit)
{
    return freeDistance(p, q) < limit;
}

// The plain scan j = 1, 2, ... that stops at the fourth neighbour. Cheap where nodes are
// dense; gives up (false) after `budget` comparisons so that sparse nodes cost no more
// than twice their candidate range.
bool scanInNumberOrder(const NodeTable& nodes, int i, int nodeCount, double limit,
                       std::ptrdiff_t budget, NeighbourEntry& entry)
{
    entry = {};
    const Position& p = at(nodes, i);
    for (int j = 1; j <= nodeCount && entry.count < kMaxNeighbours; ++j) {
        if (j == i)
            continue;
        if (budget-- == 0)
            return false;
        if (isNeighbour(p, at(nodes, j), limit))
            entry.nodes[static_cast<std::size_t>(entry.count++)] = j;
    }
    return true;
}

// The four lowest-numbered neighbours among the candidates, in increasing number order:
// the same nodes, in the same order, as the number-order scan finds.
NeighbourEntry lowestNumbered(const NodeTable& nodes, int i, std::vector<int>::const_iterator first,
                              std::vector<int>::const_iterator last, double limit)
{
    NeighbourEntry entry;
    auto kept = entry.nodes.begin();
    const Position& p = at(nodes, i);
    for (auto it = first; it != last; ++it) {
        const int j = *it;
        if (j == i || (entry.count == kMaxNeighbours && j > entry.nodes.back()))
            continue;
        if (!isNeighbour(p, at(nodes, j), limit))
            continue;
        if (entry.count < kMaxNeighbours)
            ++entry.count;
        auto end = kept + entry.count;
        // Shift the larger numbers up one place, dropping the fifth.
        auto slot = std::upper_bound(kept, end - 1, j);
        std::move_backward(slot, end - 1, end);
        *slot = j;
    }
    return entry;
}

} // namespace

NeighbourLists findNeighbours(const ProjectState& state, int nodeCount, int distanceLimit)
{
    const int count = std::clamp(nodeCount, 0, kMaxNodes);
    const double limit = distanceLimit;
    const NodeTable& nodes = state.FreeNodes;
    NeighbourLists lists(static_cast<std::size_t>(count) + 1);

    // Candidates come from an x-sorted list. An x difference that comes out at D or
    // beyond makes the computed distance at least D (D squared being exact), so the
    // nodes outside that range cannot pass the strict test; the computed difference
    // is monotonic in x, so the range is contiguous.
    std::vector<int> byX;
    for (int j = 1; j <= count; ++j)
        if (std::isfinite(at(nodes, j).x))
            byX.push_back(j);
    std::stable_sort(byX.begin(), byX.end(),
                     [&](int a, int b) { return at(nodes, a).x < at(nodes, b).x; });

    for (int i = 1; i <= count; ++i) {
        const double x = at(nodes, i).x;
        if (!std::isfinite(x))
            continue; // its distance to every node is infinite or undefined
        const auto first = std::partition_point(
            byX.cbegin(), byX.cend(), [&](int j) { return x - at(nodes, j).x >= limit; });
        const auto last = std::partition_point(
            first, byX.cend(), [&](int j) { return x - at(nodes, j).x > -limit; });
        NeighbourEntry& entry = lists[static_cast<std::size_t>(i)];
        if (!scanInNumberOrder(nodes, i, count, limit, last - first, entry))
            entry = lowestNumbered(nodes, i, first, last, limit);
    }
    return lists;
}

} // namespace ai
