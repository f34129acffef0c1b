#include "correlation/study_correlation.h"

#include "model/measurement.h"
#include "model/number_text.h"

#include <algorithm>
#include <cstddef>

namespace ai {

namespace {

std::size_t slot(int number) { return static_cast<std::size_t>(number); }

// The task's nodes: the node numbers in task order, and the task itself.
struct NumberedTask {
    std::vector<int> nodes;
    CorrelationTask task;
};

NumberedTask taskOf(const ProjectState& state, int nodeCount,
                    const std::vector<DisplacementGradient>* gradients)
{
    NumberedTask numbered;
    // Task index of each node number, -1 for a node left out.
    std::vector<int> index(slot(nodeCount) + 1, -1);
    for (int n = 1; n <= nodeCount; ++n) {
        const Position& free = state.FreeNodes[slot(n)];
        const Position& loaded = state.LoadNodes[slot(n)];
        if (!free.isSet() || !loaded.isSet())
            continue;
        index[slot(n)] = static_cast<int>(numbered.nodes.size());
        numbered.nodes.push_back(n);
        numbered.task.free.push_back(free);
        numbered.task.guess.push_back(loaded);
        if (gradients)
            numbered.task.gradient.push_back(slot(n) < gradients->size() ? (*gradients)[slot(n)]
                                                                         : DisplacementGradient{});
    }
    auto& neighbours = numbered.task.neighbours;
    neighbours.resize(numbered.nodes.size());
    for (int e = 1; e <= state.ElementCount; ++e) {
        const auto& corners = state.Elements[slot(e)].nodes;
        for (const int a : corners)
            for (const int b : corners) {
                if (a == b || a < 1 || b < 1 || a > nodeCount || b > nodeCount)
                    continue;
                const int ia = index[slot(a)];
                const int ib = index[slot(b)];
                if (ia < 0 || ib < 0)
                    continue;
                auto& list = neighbours[slot(ia)];
                if (std::find(list.begin(), list.end(), ib) == list.end())
                    list.push_back(ib);
            }
    }
    return numbered;
}

} // namespace

std::optional<StudyCorrelationOutcome>
correlateStudyNodes(ProjectState& state, int nodeCount, const GreyImage& free,
                    const GreyImage& loaded, const CorrelationSettings& settings,
                    const CorrelationProgress& progress,
                    const std::vector<DisplacementGradient>* gradients)
{
    nodeCount = std::clamp(nodeCount, 0, kMaxNodes);
    const NumberedTask numbered = taskOf(state, nodeCount, gradients);
    const auto matches = correlateNodes(free, loaded, numbered.task, settings, progress);
    if (!matches || matches->size() != numbered.nodes.size())
        return std::nullopt;
    StudyCorrelationOutcome outcome;
    outcome.gradients.resize(slot(nodeCount) + 1);
    for (std::size_t i = 0; i < numbered.nodes.size(); ++i) {
        const int n = numbered.nodes[i];
        if ((*matches)[i].found) {
            takeMatch(state, n, (*matches)[i]);
            outcome.found.push_back(n);
            outcome.gradients[slot(n)] = (*matches)[i].gradient;
        } else {
            state.LoadLocations[slot(n)] = LoadLocation{.notFound = true};
            outcome.notFound.push_back(n);
        }
    }
    outcome.leftOutElements = leftOutElementCount(state);
    return outcome;
}

void takeMatch(ProjectState& state, int node, const NodeMatch& match)
{
    // Held as the value of the text a mesh file writes, so that a saved study reads back
    // the same positions.
    state.LoadNodes[slot(node)] = {roundTo15Digits(match.loaded.x),
                                   roundTo15Digits(match.loaded.y)};
    state.LoadLocations[slot(node)] = LoadLocation{true, match.zncc, match.covariance};
}

std::string correlationCountsText(const StudyCorrelationOutcome& outcome)
{
    return formatWhole(static_cast<long long>(outcome.found.size())) +
           " noeud(s) localisé(s) par corrélation, " +
           formatWhole(static_cast<long long>(outcome.notFound.size())) + " non trouvé(s), " +
           formatWhole(outcome.leftOutElements) + " élément(s) écarté(s) de l'étude";
}

} // namespace ai
