#pragma once

// The small studies the shell and GUI tests share: a grid made through the mesh panel's
// bars, and a square of four nodes over a speckle stretched step by step.
#include "correlation/synthetic_speckle.h"
#include "shell/main_controller.h"
#include "support/study_builder.h"

#include <utility>

namespace ai::test {

// A 3 x 3 grid `spacing` units apart from (spacing, spacing), nodes down each column, node 5
// the centre; the third bar at 1075 stretches its loaded copy along x.
inline void stretchedGrid(MainController& c, int spacing)
{
    c.automesh();
    for (const auto& [bar, value] :
         {std::pair{Bar::HScroll1, 3}, {Bar::VScroll1, 3}, {Bar::HScroll2, spacing},
          {Bar::VScroll2, spacing}, {Bar::HScroll3, 1075}, {Bar::HScroll4, spacing},
          {Bar::VScroll4, spacing}, {Bar::HScroll5, spacing}, {Bar::VScroll5, spacing}})
        c.barChanged(bar, value);
    c.command6Click();
}

// A step of a load sequence: the speckle stretched along x about column 105, then moved.
struct SpeckleStep {
    double stretch = 0, dx = 0, dy = 0;
};

inline GreyImage speckleAt(const SpeckleStep& s)
{
    static const testing::SyntheticSpeckle dots(240, 180);
    return dots.render([&](double& x, double& y) {
        x = 105 + (x - s.dx - 105) / (1 + s.stretch);
        y -= s.dy;
    });
}

inline Position speckleMoved(const Position& free, const SpeckleStep& s)
{
    return {15 * (105 + (free.x / 15 - 105) * (1 + s.stretch) + s.dx), free.y + 15 * s.dy};
}

// Four nodes at their free places, pixels (60, 60) to (150, 120), in two triangles.
inline std::string squareMeshFile()
{
    return meshFileOf(atRest({px(60, 60), px(150, 60), px(60, 120), px(150, 120)}),
                      {{1, 2, 3}, {2, 4, 3}});
}

} // namespace ai::test
