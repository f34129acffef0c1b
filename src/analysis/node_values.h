#pragma once

#include "analysis/material.h"
#include "model/project_state.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace ai {

using NodeSumTable = std::array<NodeSum, kTableSlots>;
// Per triangle its mapped value, or nothing for a triangle left out of the study.
using ElementValueTable = std::array<std::optional<double>, kTableSlots>;

inline constexpr std::string_view kOverflowRefusal =
    "Calcul impossible : les contraintes obtenues sont trop grandes pour être représentées. "
    "Vérifier le module de Young, le coefficient de Poisson et les positions des noeuds.";

// Per node, the triangles that list it and the plain average of their values; per triangle
// its value; or the French message that refuses the run.
struct NodeValues {
    std::string refusal;
    NodeSumTable sums{};
    ElementValueTable elements{};
};

// The element pass and the nodal averages over nodes 1 to nodeCount, all of which must
// have both positions, and over every triangle of the study. Sums and averages are held
// as their 15-digit texts would hold them. Slots after nodeCount stay empty.
// A triangle with a corner that is not measured has no value and counts nowhere; a node
// listed only by such triangles has no average (NaN), where a node in no triangle has 0.
NodeValues computeNodeValues(const ProjectState& state, int nodeCount, const Material& material,
                             Component component, bool planeStress);

} // namespace ai
