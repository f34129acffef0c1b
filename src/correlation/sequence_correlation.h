#pragma once

#include "correlation/photograph_source.h"
#include "correlation/study_correlation.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ai {

// One load step of a sequence: indexed by node number (0 unused), the loaded positions and
// their records as the correlation of that step left them.
struct SequenceStep {
    std::vector<Position> loaded;
    std::vector<LoadLocation> locations;
    StudyCorrelationOutcome outcome;
};

// What a sequence correlation gave: every step, or the first step (1 to N) whose photograph
// could not be read, with no step then.
struct SequenceCorrelation {
    std::vector<SequenceStep> steps;
    int unreadableStep = 0;
};

// Called with the step (1 to N), the number of steps, and the nodes done and their total
// within that step; returning false cancels.
using SequenceProgress = std::function<bool(int step, int steps, int done, int total)>;

// Correlates every step's photograph against the free one, each step starting from where
// the steps before lead each node, with the warp it had (the study's loaded positions for
// the first), so that a strain too large for one pair is followed step by step; the
// feature seeding steps in where a step jumps. A node not found at a step starts the next
// from its neighbours found there, else from where it was last found. The photographs are
// asked of `photographs` one at a time on a second thread, the next one while a step is
// correlated, so nothing else may use `photographs` until this returns; no more than two
// loaded photographs are held at once. The state is left as it was; nothing is returned
// when the progress cancels the work.
std::optional<SequenceCorrelation>
correlateSequence(const ProjectState& state, int nodeCount, const GreyImage& free,
                  const std::vector<std::string>& steps, PhotographSource& photographs,
                  const CorrelationSettings& settings, const SequenceProgress& progress);

// Puts step `step`'s loaded positions and records into the state; a node the step has no
// record of is not found there.
void applyStep(ProjectState& state, const SequenceStep& step);

} // namespace ai
