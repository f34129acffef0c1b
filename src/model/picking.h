#pragma once

#include "model/project_state.h"

#include <array>

namespace ai {

// Half-side of the open square around a click in which a node counts as under it, for a
// view at natural size; a zoomed view keeps the square's size on the screen.
inline constexpr float PickTolerance = 50.0f;

// True when the node lies in the open pick square of half-side `tolerance` around the
// click (X, Y). The square's bounds and the node's coordinates are compared in single
// precision.
bool isUnderClick(const Position& node, float X, float Y, float tolerance = PickTolerance);

using NodeTable = std::array<Position, kTableSlots>;

// The highest-numbered node among 1 to count that lies under the click and that
// `accept` takes, or 0. Walking all nodes and keeping the last hit finds the same node.
template <typename Accept>
int pickNode(const NodeTable& nodes, int count, float X, float Y, float tolerance, Accept accept)
{
    for (int i = count; i >= 1; --i) {
        if (isUnderClick(nodes[static_cast<std::size_t>(i)], X, Y, tolerance) && accept(i))
            return i;
    }
    return 0;
}

inline int pickNode(const NodeTable& nodes, int count, float X, float Y,
                    float tolerance = PickTolerance)
{
    return pickNode(nodes, count, X, Y, tolerance, [](int) { return true; });
}

} // namespace ai
