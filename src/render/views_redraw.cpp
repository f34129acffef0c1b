#include "render/views_redraw.h"

#include "model/number_text.h"

#include <algorithm>

namespace ai {

namespace {

// A node's position on one view in single precision, if it has one.
bool singlePosition(const Position& position, float& x, float& y)
{
    if (!position.isSet())
        return false;
    x = toSingle(position.x);
    y = toSingle(position.y);
    return true;
}

void drawEdge(ImageView& view, const Position& a, const Position& b, Rgb colour)
{
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    if (singlePosition(a, x1, y1) && singlePosition(b, x2, y2))
        view.drawLine(x1, y1, x2, y2, colour);
}

} // namespace

void redrawViews(const ProjectState& state, int nodeCount, ImageView& picture1,
                 ImageView& picture2, Rgb edgeColour)
{
    picture1.restorePicture(state.FreeImageFile);
    picture2.restorePicture(state.LoadImageFile);

    const int n = std::clamp(nodeCount, 0, kMaxNodes);
    for (const auto& offset : kMarkOffsets) {
        for (int i = 1; i <= n; ++i) {
            const auto slot = static_cast<std::size_t>(i);
            float x = 0, y = 0;
            if (singlePosition(state.FreeNodes[slot], x, y))
                picture1.drawPoint(x + offset[0], y + offset[1], kNodeMarkRed);
            if (singlePosition(state.LoadNodes[slot], x, y))
                picture2.drawPoint(x + offset[0], y + offset[1], kNodeMarkRed);
        }
    }

    const auto valid = [&](int node) { return node >= 1 && node <= state.NodeCount; };
    const int elements = std::clamp(state.ElementCount, 0, kMaxElements);
    for (int e = 1; e <= elements; ++e) {
        const Triangle& t = state.Elements[static_cast<std::size_t>(e)];
        if (!valid(t.first()) || !valid(t.second()) || !valid(t.third()))
            continue;
        const auto a = static_cast<std::size_t>(t.first());
        const auto b = static_cast<std::size_t>(t.second());
        const auto c = static_cast<std::size_t>(t.third());
        drawEdge(picture1, state.FreeNodes[a], state.FreeNodes[b], edgeColour);
        drawEdge(picture2, state.LoadNodes[a], state.LoadNodes[b], edgeColour);
        drawEdge(picture1, state.FreeNodes[b], state.FreeNodes[c], edgeColour);
        drawEdge(picture2, state.LoadNodes[b], state.LoadNodes[c], edgeColour);
        drawEdge(picture1, state.FreeNodes[a], state.FreeNodes[c], edgeColour);
        drawEdge(picture2, state.LoadNodes[a], state.LoadNodes[c], edgeColour);
    }
}

} // namespace ai
