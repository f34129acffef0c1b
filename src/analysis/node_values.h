#pragma once

#include "analysis/material.h"
#include "model/project_state.h"

#include <array>
#include <string>
#include <string_view>

namespace ai {

using NodeSumTable = std::array<NodeSum, kTableSlots>;

inline constexpr std::string_view kOverflowRefusal =
    "Calcul impossible : les contraintes obtenues sont trop grandes pour être représentées. "
    "Vérifier le module de Young, le coefficient de Poisson et les positions des noeuds.";

// Per node, the triangles that list it and the plain average of their values; or the
// French message that refuses the run.
struct NodeValues {
    std::string refusal;
    NodeSumTable sums{};
};

// The element pass and the nodal averages over nodes 1 to nodeCount, all of which must
// have both positions, and over every triangle of the study. Sums and averages are held
// as their 15-digit texts would hold them. Slots after nodeCount stay empty.
NodeValues computeNodeValues(const ProjectState& state, int nodeCount, const Material& material,
                             Component component, bool planeStress);

} // namespace ai
