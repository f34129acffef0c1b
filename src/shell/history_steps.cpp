#include "shell/history_steps.h"

#include <memory>

namespace ai {

std::vector<HistoryPoint> historyOverSteps(const ProjectState& state, const LoadSequence& sequence,
                                           const std::string& photograph,
                                           const HistorySelection& selection,
                                           HistoryQuantity quantity, const Material& material,
                                           bool planeStress)
{
    if (sequence.steps.empty())
        return {{1, photograph, selectionValue(state, selection, quantity, material, planeStress)}};
    std::vector<HistoryPoint> points;
    // One copy, each step overwriting the loaded positions of the one before.
    auto step = std::make_unique<ProjectState>(state);
    for (std::size_t k = 0; k < sequence.steps.size(); ++k) {
        applyStep(*step, sequence.steps[k]); // a node made since has no position there
        points.push_back({static_cast<int>(k) + 1,
                          k < sequence.files.size() ? sequence.files[k] : std::string(),
                          selectionValue(*step, selection, quantity, material, planeStress)});
    }
    return points;
}

} // namespace ai
