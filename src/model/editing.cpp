#include "model/editing.h"

#include "model/number_text.h"

#include <algorithm>

namespace ai {

namespace {

std::size_t slot(int number) { return static_cast<std::size_t>(number); }

} // namespace

int createNode(ProjectState& state, float X, float Y)
{
    if (state.NodeCount >= kMaxNodes)
        return 0;
    const int n = ++state.NodeCount;
    placeNode(state.FreeNodes[slot(n)], X, Y);
    state.LoadNodes[slot(n)] = Position{};
    state.LoadLocations[slot(n)] = LoadLocation{};
    state.NodeSums[slot(n)] = NodeSum{0.0, 0.0};
    return n;
}

void placeNode(Position& position, float X, float Y)
{
    position.x = clickCoordinate(X);
    position.y = clickCoordinate(Y);
}

void removeNodesAfter(ProjectState& state, int count)
{
    count = std::clamp(count, 0, kMaxNodes);
    for (int n = count + 1; n <= state.NodeCount; ++n) {
        state.FreeNodes[slot(n)] = Position{};
        state.LoadNodes[slot(n)] = Position{};
        state.LoadLocations[slot(n)] = LoadLocation{};
        state.NodeSums[slot(n)] = NodeSum{};
    }
    state.NodeCount = std::min(state.NodeCount, count);
    if (state.PendingNode > count)
        state.PendingNode = 0;
    if (state.FreeDragNode > count)
        state.FreeDragNode = 0;
    if (state.LoadDragNode > count)
        state.LoadDragNode = 0;
}

void removeElementsAfter(ProjectState& state, int count)
{
    count = std::clamp(count, 0, kMaxElements);
    for (int e = count + 1; e <= state.ElementCount; ++e)
        state.Elements[slot(e)] = Triangle{};
    state.ElementCount = std::min(state.ElementCount, count);
}

bool appendElement(ProjectState& state, int first, int second, int third)
{
    if (state.ElementCount >= kMaxElements)
        return false;
    state.Elements[slot(++state.ElementCount)].nodes = {first, second, third};
    return true;
}

void eraseLastElement(ProjectState& state)
{
    // The dropped corners stay in the table; the next triangle built overwrites them.
    state.ElementCount = std::max(state.ElementCount - 1, 0);
}

void eraseMesh(ProjectState& state)
{
    state.StopFlag = false;
    removeElementsAfter(state, 0);
}

void eraseAll(ProjectState& state)
{
    state.StopFlag = false;
    for (int n = 1; n <= kMaxNodes; ++n) {
        state.FreeNodes[slot(n)] = Position{};
        state.LoadNodes[slot(n)] = Position{};
        state.LoadLocations[slot(n)] = LoadLocation{};
        state.NodeSums[slot(n)] = NodeSum{};
    }
    removeElementsAfter(state, 0);
    state.NodeCount = 0;
    state.PendingNode = 0;
    state.FreeDragNode = 0;
    state.LoadDragNode = 0;
}

} // namespace ai
