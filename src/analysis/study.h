#pragma once

#include "analysis/node_values.h"
#include "analysis/stress_map.h"
#include "model/number_text.h"
#include "model/project_state.h"

#include <string>
#include <string_view>

namespace ai {

// What a study command asks for: the material as typed and its two choices.
struct StudyRequest {
    std::string_view youngText;
    std::string_view poissonText;
    Component component = Component::VonMises;
    bool planeStress = false;
    NumberFormat format;
};

// A study computed apart from the study in memory, so that a refused run changes nothing.
struct StudyOutcome {
    std::string refusal; // the French message of a refused run; empty when accepted
    NodeSumTable sums{};
    ElementValueTable elements{}; // each triangle's value, nothing for one left out
    StressMap map;
};

// Reads the material, computes the nodal averages of nodes 1 to nodeCount and the map.
StudyOutcome computeStudy(const ProjectState& state, int nodeCount, const StudyRequest& request);

} // namespace ai
