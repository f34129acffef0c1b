#pragma once

#include "model/colour.h"
#include "model/project_state.h"
#include "render/image_view.h"

#include <string>
#include <vector>

namespace ai {

// Offsets of the five points of a node mark, in drawing order (y grows downwards).
inline constexpr float kMarkOffsets[5][2] = {{0, 0}, {10, 0}, {0, 10}, {0, -10}, {-10, 0}};
// The mark of a node that a correlation did not find: a diagonal cross in the same square,
// drawn in kNotFoundMark.
inline constexpr float kNotFoundOffsets[5][2] = {
    {0, 0}, {10, 10}, {-10, 10}, {10, -10}, {-10, -10}};

// Restores both base images from the remembered files, then draws over them the marks
// of nodes 1 to nodeCount (five passes, free view then loaded view at each step; a node not
// found by a correlation with its own mark on both views) and
// the three edges of every triangle, edges after marks so that they cover the red.
// Entries without a position, and node numbers outside 1 to NodeCount, are skipped.
void redrawViews(const ProjectState& state, int nodeCount, ImageView& picture1,
                 ImageView& picture2, Rgb edgeColour);

// The redraw as the views keep its drawing: a call that would draw what they show already
// (the same photographs, the same node count, positions and triangles) leaves them as they
// are, since restoring and drawing again would give the same pixels.
class ViewsRedraw {
public:
    void redraw(const ProjectState& state, int nodeCount, ImageView& picture1, ImageView& picture2,
                Rgb edgeColour);

    // To call when anything else restores or replaces a view's picture, clearing its drawing.
    void forget() { drawn_ = false; }

private:
    struct Drawing {
        std::string freeFile, loadFile;
        int nodeCount = 0, tableNodeCount = 0;
        Rgb edgeColour;
        std::vector<Position> freeNodes, loadNodes;
        std::vector<bool> notFound;
        std::vector<Triangle> elements;
    };
    static bool same(const Drawing& a, const Drawing& b);
    static void describe(const ProjectState& state, int nodeCount, Rgb edgeColour,
                         Drawing& drawing);

    bool drawn_ = false;
    Drawing shown_;
    Drawing next_;
};

} // namespace ai
