#include "analysis/study.h"

#include "analysis/material.h"

namespace ai {

StudyOutcome computeStudy(const ProjectState& state, int nodeCount, const StudyRequest& request)
{
    StudyOutcome outcome;
    const MaterialReading material =
        readMaterial(request.youngText, request.poissonText, request.planeStress, request.format);
    if (!material.material) {
        outcome.refusal = material.refusal;
        return outcome;
    }

    NodeValues values = computeNodeValues(state, nodeCount, *material.material, request.component,
                                          request.planeStress);
    if (!values.refusal.empty()) {
        outcome.refusal = std::move(values.refusal);
        return outcome;
    }

    auto map = buildStressMap(state, nodeCount, values.sums, request.component, request.format);
    if (!map) {
        outcome.refusal = std::string(kOverflowRefusal);
        return outcome;
    }
    outcome.sums = values.sums;
    outcome.elements = values.elements;
    outcome.map = std::move(*map);
    return outcome;
}

} // namespace ai
