#pragma once

#include "correlation/study_correlation.h"
#include "correlation/subset_refinement.h"

#include <vector>

namespace ai {

// Where the nodes of a load sequence are expected at the next step, from where the steps
// before found them, the free photograph being the step before the first. A node found at
// the last two steps is expected to move on as it moved between them: a test loaded step
// by step moves its points by about the same increment each time, which can be larger than
// a refinement reaches, and a refinement started that far may settle on a false optimum.
// A node the last step did not find is placed by its neighbours found there; without any,
// it stays where it was last found. Only the nodes the first step correlates are followed.
class StepPrediction {
public:
    StepPrediction(const ProjectState& state, int nodeCount);

    // The correlation of a step: its found positions in `state`, its counts in `outcome`.
    void record(const ProjectState& state, const StudyCorrelationOutcome& outcome);

    // Puts the next step's starting positions into `state`'s loaded positions, and gives
    // the gradients to start them with, indexed by node number.
    std::vector<DisplacementGradient> predict(ProjectState& state) const;

private:
    struct Track {
        bool followed = false;
        bool found = false;  // at the last step
        bool steady = false; // at the two last steps
        Position at;         // where last found
        Position before;     // at the step before that, when steady
    };

    // The found nodes that place node `node`: those it shares a triangle with, completed
    // with the nearest when fewer than four.
    std::vector<int> foundAround(std::size_t node) const;

    std::vector<Position> free_;
    std::vector<std::vector<int>> triangleNeighbours_;
    std::vector<Track> tracks_;
    std::vector<DisplacementGradient> gradients_;
};

} // namespace ai
