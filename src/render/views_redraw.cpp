#include "render/views_redraw.h"

#include "model/number_text.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>

namespace ai {

namespace {

// The nodes' positions on one view in single precision, converted once for all the marks
// and edges; `drawn` is false for a node without a position.
struct SinglePositions {
    std::array<float, kTableSlots> x{};
    std::array<float, kTableSlots> y{};
    std::array<bool, kTableSlots> drawn{};

    SinglePositions(const std::array<Position, kTableSlots>& nodes, int count)
    {
        for (std::size_t i = 1; i <= static_cast<std::size_t>(count); ++i) {
            drawn[i] = nodes[i].isSet();
            if (drawn[i]) {
                x[i] = toSingle(nodes[i].x);
                y[i] = toSingle(nodes[i].y);
            }
        }
    }

    void drawEdge(ImageView& view, std::size_t a, std::size_t b, Rgb colour) const
    {
        if (drawn[a] && drawn[b])
            view.drawLine(x[a], y[a], x[b], y[b], colour);
    }
};

// Positions compared bit for bit, so that unset ones (NaN) compare equal.
bool sameBits(const std::vector<Position>& a, const std::vector<Position>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Position)) == 0);
}

} // namespace

void redrawViews(const ProjectState& state, int nodeCount, ImageView& picture1,
                 ImageView& picture2, Rgb edgeColour)
{
    picture1.restorePicture(state.FreeImageFile);
    picture2.restorePicture(state.LoadImageFile);

    const int n = std::clamp(nodeCount, 0, kMaxNodes);
    const int counted = std::clamp(state.NodeCount, 0, kMaxNodes);
    const auto free = std::make_unique<SinglePositions>(state.FreeNodes, std::max(n, counted));
    const auto load = std::make_unique<SinglePositions>(state.LoadNodes, std::max(n, counted));
    for (std::size_t pass = 0; pass < std::size(kMarkOffsets); ++pass) {
        for (std::size_t i = 1; i <= static_cast<std::size_t>(n); ++i) {
            const bool notFound = state.LoadLocations[i].notFound;
            const auto& offset = notFound ? kNotFoundOffsets[pass] : kMarkOffsets[pass];
            const Rgb colour = notFound ? kNotFoundMark : kNodeMarkRed;
            if (free->drawn[i])
                picture1.drawMarkPoint(free->x[i], free->y[i], offset[0], offset[1], colour);
            if (load->drawn[i])
                picture2.drawMarkPoint(load->x[i], load->y[i], offset[0], offset[1], colour);
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
        free->drawEdge(picture1, a, b, edgeColour);
        load->drawEdge(picture2, a, b, edgeColour);
        free->drawEdge(picture1, b, c, edgeColour);
        load->drawEdge(picture2, b, c, edgeColour);
        free->drawEdge(picture1, a, c, edgeColour);
        load->drawEdge(picture2, a, c, edgeColour);
    }
}

bool ViewsRedraw::same(const Drawing& a, const Drawing& b)
{
    return a.freeFile == b.freeFile && a.loadFile == b.loadFile && a.nodeCount == b.nodeCount &&
           a.tableNodeCount == b.tableNodeCount && a.edgeColour == b.edgeColour &&
           sameBits(a.freeNodes, b.freeNodes) && sameBits(a.loadNodes, b.loadNodes) &&
           a.notFound == b.notFound &&
           std::ranges::equal(a.elements, b.elements, [](const Triangle& x, const Triangle& y) {
               return x.nodes == y.nodes;
           });
}

void ViewsRedraw::describe(const ProjectState& state, int nodeCount, Rgb edgeColour,
                           Drawing& drawing)
{
    drawing.freeFile = state.FreeImageFile;
    drawing.loadFile = state.LoadImageFile;
    drawing.nodeCount = nodeCount;
    drawing.tableNodeCount = state.NodeCount;
    drawing.edgeColour = edgeColour;
    // Everything the drawing reads: positions up to the larger count, every triangle.
    const auto nodes = static_cast<std::size_t>(
        std::clamp(std::max(nodeCount, state.NodeCount), 0, kMaxNodes) + 1);
    drawing.freeNodes.assign(state.FreeNodes.begin(), state.FreeNodes.begin() + nodes);
    drawing.loadNodes.assign(state.LoadNodes.begin(), state.LoadNodes.begin() + nodes);
    drawing.notFound.assign(nodes, false);
    for (std::size_t i = 0; i < nodes; ++i)
        drawing.notFound[i] = state.LoadLocations[i].notFound;
    const auto elements =
        static_cast<std::size_t>(std::clamp(state.ElementCount, 0, kMaxElements) + 1);
    drawing.elements.assign(state.Elements.begin(), state.Elements.begin() + elements);
}

void ViewsRedraw::redraw(const ProjectState& state, int nodeCount, ImageView& picture1,
                         ImageView& picture2, Rgb edgeColour)
{
    describe(state, nodeCount, edgeColour, next_);
    if (drawn_ && same(next_, shown_) && picture1.showsPicture(state.FreeImageFile) &&
        picture2.showsPicture(state.LoadImageFile))
        return;
    redrawViews(state, nodeCount, picture1, picture2, edgeColour);
    std::swap(shown_, next_);
    drawn_ = true;
}

} // namespace ai
