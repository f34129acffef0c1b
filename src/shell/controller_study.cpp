// The eight commands of the menu "Etude" and the study they run.
#include "analysis/study.h"
#include "shell/main_controller.h"
#include "shell/status_text.h"

namespace ai {

void MainController::sxxctrteplane() { runStudyCommand(Component::Sxx, true); }
void MainController::syyctrteplane() { runStudyCommand(Component::Syy, true); }
void MainController::sxyctrteplane() { runStudyCommand(Component::Sxy, true); }
void MainController::vonmiesectrteplane() { runStudyCommand(Component::VonMises, true); }
void MainController::sxxdefplane() { runStudyCommand(Component::Sxx, false); }
void MainController::syydefplane() { runStudyCommand(Component::Syy, false); }
void MainController::sxydefplane() { runStudyCommand(Component::Sxy, false); }
void MainController::vonmisesdefplane() { runStudyCommand(Component::VonMises, false); }

void MainController::runStudyCommand(Component component, bool planeStress)
{
    state_.StressComponent = component;
    state_.PlaneStressFlag = planeStress;
    RunStudy();
}

void MainController::RunStudy()
{
    if (state_.ElementCount == 0)
        return;

    // Everything is computed before anything changes: a refused run leaves the nodal
    // values, the status line and the map window as they were.
    const int nodeCount = state_.locatedNodeCount();
    const StudyRequest request{young_, poisson_, state_.StressComponent, state_.PlaneStressFlag,
                               settings_.format};
    StudyOutcome outcome = computeStudy(state_, nodeCount, request);
    // A correlated sequence is studied at every step; the map shows the step selected, on
    // the scale of every step so that its colours compare across steps, or on its own.
    if (outcome.refusal.empty() && sequence_.steps.size() >= 2) {
        MapRange extremes;
        outcome.refusal = studyAtEveryStep(nodeCount, request, extremes);
        if (outcome.refusal.empty() && commonScale_)
            if (auto map = buildStressMap(state_, nodeCount, outcome.sums, request.component,
                                          request.format, extremes))
                outcome.map = std::move(*map);
    }
    if (!outcome.refusal.empty()) {
        platform_.messages.message(outcome.refusal);
        return;
    }

    // This also withdraws a node still waiting for its location; no triangle uses it.
    setStatus(status::Computing);
    for (int n = 1; n <= nodeCount; ++n)
        state_.NodeSums[static_cast<std::size_t>(n)] = outcome.sums[static_cast<std::size_t>(n)];
    paintStressMap(outcome.map, platform_.map, state_.FreeImageFile);
    mapShown_ = !outcome.map.unusable;
    if (outcome.map.unusable) {
        platform_.messages.message(std::string(kUnusableMeshMessage));
        platform_.map.hide();
    }
    setStatus(status::Computed);
}

} // namespace ai
