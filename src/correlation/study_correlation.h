#pragma once

#include "correlation/node_correlation.h"
#include "model/project_state.h"

#include <optional>
#include <string>
#include <vector>

namespace ai {

// What a correlation of a study's nodes gave: the numbers of the nodes found and of those
// not found, each in ascending order, and how many triangles are then left without a value.
struct StudyCorrelationOutcome {
    std::vector<int> found;
    std::vector<int> notFound;
    int leftOutElements = 0;
    // Indexed by node number: the gradient of each node found, zero for the others.
    std::vector<DisplacementGradient> gradients;
};

// Correlates nodes 1 to `nodeCount` of the study that have both positions, each from its
// current loaded position, with the nodes it shares a triangle with as its neighbours. A
// node found takes the found loaded position and its record; one not found keeps its loaded
// position as a guess and is marked not found, which leaves its triangles out of the study.
// Nothing changes and nothing is returned when the progress cancels the work.
// With `gradients` (indexed by node number), every node starts from its loaded position
// deformed by its gradient there.
std::optional<StudyCorrelationOutcome>
correlateStudyNodes(ProjectState& state, int nodeCount, const GreyImage& free,
                    const GreyImage& loaded, const CorrelationSettings& settings,
                    const CorrelationProgress& progress,
                    const std::vector<DisplacementGradient>* gradients = nullptr);

// Gives node `node` the position of a match that was found, and its record.
void takeMatch(ProjectState& state, int node, const NodeMatch& match);

// "N noeud(s) localisé(s) par corrélation, M non trouvé(s), K élément(s) écarté(s) de l'étude".
std::string correlationCountsText(const StudyCorrelationOutcome& outcome);

} // namespace ai
