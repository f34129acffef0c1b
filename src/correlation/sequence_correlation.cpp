#include "correlation/sequence_correlation.h"

#include "correlation/step_prediction.h"

#include <algorithm>
#include <future>
#include <memory>

namespace ai {

std::optional<SequenceCorrelation>
correlateSequence(const ProjectState& state, int nodeCount, const GreyImage& free,
                  const std::vector<std::string>& steps, PhotographSource& photographs,
                  const CorrelationSettings& settings, const SequenceProgress& progress)
{
    nodeCount = std::clamp(nodeCount, 0, kMaxNodes);
    const auto count = static_cast<std::size_t>(nodeCount) + 1;
    // The study is large; one working copy carries the guesses from step to step.
    auto work = std::make_unique<ProjectState>(state);
    // A step starts from where the steps before lead each node, with its warp; the first
    // from the study's positions alone, as a single pair does.
    StepPrediction prediction(*work, nodeCount);
    SequenceCorrelation sequence;
    const int stepCount = static_cast<int>(steps.size());
    // Each step's photograph is decoded while the step before is correlated: two loaded
    // photographs at most are held at once, whatever the number of steps.
    auto decode = [&](int k) {
        return std::async(std::launch::async, [&photographs, &steps, k] {
            return photographs.greyLevels(steps[static_cast<std::size_t>(k - 1)]);
        });
    };
    std::future<std::shared_ptr<const GreyImage>> next;
    if (stepCount > 0)
        next = decode(1);
    for (int k = 1; k <= stepCount; ++k) {
        const auto loaded = next.get();
        if (!loaded || loaded->empty())
            return SequenceCorrelation{.steps = {}, .unreadableStep = k};
        if (k < stepCount)
            next = decode(k + 1);
        std::vector<DisplacementGradient> gradients;
        if (k > 1)
            gradients = prediction.predict(*work);
        auto outcome = correlateStudyNodes(
            *work, nodeCount, free, *loaded, settings,
            [&](int done, int total) { return progress(k, stepCount, done, total); },
            k > 1 ? &gradients : nullptr);
        if (!outcome)
            return std::nullopt;
        prediction.record(*work, *outcome);
        // Kept by the prediction alone: a step keeps its positions and records only.
        outcome->gradients = {};
        SequenceStep step{{work->LoadNodes.begin(), work->LoadNodes.begin() + count},
                          {work->LoadLocations.begin(), work->LoadLocations.begin() + count},
                          std::move(*outcome)};
        sequence.steps.push_back(std::move(step));
    }
    return sequence;
}

void applyStep(ProjectState& state, const SequenceStep& step)
{
    std::copy(step.loaded.begin(), step.loaded.end(), state.LoadNodes.begin());
    std::copy(step.locations.begin(), step.locations.end(), state.LoadLocations.begin());
    // A node added after the step was correlated was never measured at that step.
    for (auto n = step.locations.size(); n <= static_cast<std::size_t>(state.NodeCount); ++n)
        state.LoadLocations[n].notFound = true;
}

} // namespace ai
