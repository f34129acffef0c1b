// A load sequence: the photographs of a test's load steps, the step shown, their correlation
// and their study.
#include "analysis/study.h"
#include "correlation/sequence_correlation.h"
#include "model/number_text.h"
#include "shell/correlation_texts.h"
#include "shell/main_controller.h"
#include "shell/natural_order.h"
#include "shell/status_text.h"

#include <algorithm>

namespace ai {

namespace {

std::string stepOf(int step, int count) { return formatWhole(step) + "/" + formatWhole(count); }

// The step with the most nodes not found, then the most triangles left out; the first of
// equals.
std::size_t worstStep(const std::vector<SequenceStep>& steps)
{
    std::size_t worst = 0;
    for (std::size_t k = 1; k < steps.size(); ++k) {
        const auto& a = steps[k].outcome;
        const auto& b = steps[worst].outcome;
        if (a.notFound.size() > b.notFound.size() ||
            (a.notFound.size() == b.notFound.size() && a.leftOutElements > b.leftOutElements))
            worst = k;
    }
    return worst;
}

} // namespace

void MainController::imgsequence()
{
    auto files = platform_.dialogs.openFileNames("Récupérer les fichiers images de la séquence");
    if (!files || files->empty())
        return;
    sortNaturally(*files);
    if (importFile(platform_.picture2, state_.LoadImageFile, files->front()))
        startSequence(std::move(*files));
}

void MainController::startSequence(std::vector<std::string> files)
{
    sequence_ = LoadSequence{.files = std::move(files), .steps = {}, .selected = 1};
    showStepSelector();
}

void MainController::showStepSelector()
{
    const int count = static_cast<int>(sequence_.files.size());
    const int step = sequence_.selected;
    const std::string caption =
        step >= 1 && step <= count
            ? "Étape " + stepOf(step, count) + " : " +
                  std::string(fileNameOf(sequence_.files[static_cast<std::size_t>(step - 1)]))
            : std::string();
    platform_.window.showStepSelector(count, step, caption);
}

void MainController::stepSelected(int step)
{
    if (step != sequence_.selected)
        selectStep(step);
}

void MainController::selectStep(int step)
{
    if (step < 1 || step > static_cast<int>(sequence_.files.size()))
        return;
    sequence_.selected = step;
    const std::string& file = sequence_.files[static_cast<std::size_t>(step - 1)];
    // A step whose photograph cannot be read any more is still the step shown, over an
    // empty view, so that its nodes are never drawn over another step's photograph.
    const std::string failure = platform_.picture2.importStepPicture(file);
    if (!failure.empty())
        platform_.messages.message(failure);
    state_.LoadImageFile = file;
    if (static_cast<std::size_t>(step) <= sequence_.steps.size())
        applyStep(state_, sequence_.steps[static_cast<std::size_t>(step - 1)]);
    showStepSelector();
    views_.forget();
    views_.redraw(state_, state_.locatedNodeCount(), platform_.picture1, platform_.picture2,
                  settings_.highlight);
    if (mapShown_)
        RunStudy();
}

void MainController::commonScaleChosen(bool common)
{
    if (common == commonScale_)
        return;
    commonScale_ = common;
    if (mapShown_)
        RunStudy();
}

void MainController::keepInStep(int node)
{
    if (sequence_.selected < 1 ||
        static_cast<std::size_t>(sequence_.selected) > sequence_.steps.size())
        return;
    SequenceStep& step = sequence_.steps[static_cast<std::size_t>(sequence_.selected - 1)];
    const auto n = static_cast<std::size_t>(node);
    if (node < 1)
        return;
    if (n >= step.loaded.size()) {
        // A node added since the correlation: the nodes between were never measured here.
        const auto from = step.loaded.size();
        step.loaded.resize(n + 1);
        step.locations.resize(n + 1, LoadLocation{.notFound = true});
        std::copy(state_.LoadNodes.begin() + static_cast<std::ptrdiff_t>(from),
                  state_.LoadNodes.begin() + static_cast<std::ptrdiff_t>(n + 1),
                  step.loaded.begin() + static_cast<std::ptrdiff_t>(from));
    }
    step.loaded[n] = state_.LoadNodes[n];
    step.locations[n] = state_.LoadLocations[n];
    // Placed by hand, the node is measured at this step, no longer among those not found.
    auto& notFound = step.outcome.notFound;
    const auto missing = std::find(notFound.begin(), notFound.end(), node);
    if (missing == notFound.end())
        return;
    notFound.erase(missing);
    auto& found = step.outcome.found;
    found.insert(std::lower_bound(found.begin(), found.end(), node), node);
}

void MainController::correlateLoadedSequence()
{
    const auto photographs = correlationPhotographs(false);
    if (!photographs)
        return;
    const int nodeCount = state_.locatedNodeCount();
    // A sequence correlated before starts again from its first step's positions, not from
    // those of the step shown.
    auto start = std::make_unique<ProjectState>(state_);
    if (!sequence_.steps.empty())
        applyStep(*start, sequence_.steps.front());
    ProgressPort& progress = platform_.progress;
    const int stepCount = static_cast<int>(sequence_.files.size());
    progress.start("Étape " + stepOf(1, stepCount), stepCount * nodeCount);
    int labelled = 1;
    const auto result = correlateSequence(
        *start, nodeCount, *photographs->free, sequence_.files, platform_.photographs,
        CorrelationSettings{.subset = subset_}, [&](int step, int steps, int done, int) {
            if (step != labelled) {
                labelled = step;
                progress.setLabel("Étape " + stepOf(step, steps));
            }
            return progress.advance((step - 1) * nodeCount + done);
        });
    progress.finish();
    if (!result)
        return; // cancelled: nothing is kept
    if (result->unreadableStep != 0) {
        const std::string& path =
            sequence_.files[static_cast<std::size_t>(result->unreadableStep - 1)];
        const std::string why = platform_.photographs.failure(path);
        platform_.messages.message("La photographie de l'étape " +
                                   stepOf(result->unreadableStep, stepCount) + " \"" + path +
                                   "\" ne peut pas être lue." + (why.empty() ? "" : " " + why));
        return;
    }
    sequence_.steps = result->steps;
    applyStep(state_, sequence_.steps[static_cast<std::size_t>(sequence_.selected - 1)]);
    const std::size_t worst = worstStep(sequence_.steps);
    const StudyCorrelationOutcome& outcome = sequence_.steps[worst].outcome;
    platform_.messages.message(formatWhole(stepCount) +
                               " étapes corrélées ; la moins bonne, l'étape " +
                               formatWhole(static_cast<long long>(worst + 1)) + " : " +
                               correlationCountsText(outcome) + notFoundList(outcome.notFound));
    if (status_ != status::LocatePrompt)
        setStatus(status::Correlated);
}

std::string MainController::studyAtEveryStep(int nodeCount, const StudyRequest& request,
                                             MapRange& extremes) const
{
    auto work = std::make_unique<ProjectState>(state_);
    const int count = static_cast<int>(sequence_.steps.size());
    for (int k = 1; k <= count; ++k) {
        applyStep(*work, sequence_.steps[static_cast<std::size_t>(k - 1)]);
        const StudyOutcome outcome = computeStudy(*work, nodeCount, request);
        if (!outcome.refusal.empty())
            return "Étape " + stepOf(k, count) + " : " + outcome.refusal;
        extremes = unitedRange(extremes, outcome.map.range);
    }
    return {};
}

} // namespace ai
