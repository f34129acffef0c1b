#pragma once

#include "analysis/history.h"
#include "shell/load_sequence.h"

namespace ai {

// The selection's value at every step of the sequence, each step's loaded positions put into
// a copy of the study; with no correlated sequence, the study as it stands is the one step,
// named after `photograph`. A node made after the sequence was correlated has no value at its
// steps.
std::vector<HistoryPoint> historyOverSteps(const ProjectState& state, const LoadSequence& sequence,
                                           const std::string& photograph,
                                           const HistorySelection& selection,
                                           HistoryQuantity quantity, const Material& material,
                                           bool planeStress);

} // namespace ai
