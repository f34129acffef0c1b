// The menu "Corrélation": the nodes located on the loaded photograph by image correlation.
#include "correlation/study_correlation.h"
#include "model/number_text.h"
#include "shell/correlation_texts.h"
#include "shell/main_controller.h"
#include "shell/status_text.h"

namespace ai {

namespace {

// The not-found nodes a message lists before it gives up.
constexpr std::size_t kListedNotFound = 20;

} // namespace

std::string notFoundList(const std::vector<int>& notFound)
{
    std::string list;
    for (std::size_t i = 0; i < notFound.size() && i < kListedNotFound; ++i)
        list += (i == 0 ? "\nNoeud(s) non trouvé(s) : " : ", ") + formatWhole(notFound[i]);
    if (notFound.size() > kListedNotFound)
        list += ", …";
    return list;
}

void MainController::localisationassistee(bool checked) { assisted_ = checked; }

void MainController::tailleimagettes(int pixels)
{
    if (pixels % 2 == 1 && pixels >= 11 && pixels <= 101)
        subset_ = pixels;
}

std::optional<MainController::GreyPair> MainController::correlationPhotographs(bool withLoaded)
{
    std::string problems;
    const auto read = [&](const std::string& path, const char* structure) {
        const std::string photograph = "La photographie de la " + std::string(structure);
        const auto grey = path.empty() ? nullptr : platform_.photographs.greyLevels(path);
        if (!grey || grey->empty()) {
            const std::string why = path.empty() ? "" : platform_.photographs.failure(path);
            problems += (problems.empty() ? "" : "\n") + photograph +
                        (path.empty() ? " n'a pas été importée."
                                      : " \"" + path + "\" ne peut pas être lue." +
                                            (why.empty() ? "" : " " + why));
        }
        return grey;
    };
    GreyPair pair{read(state_.FreeImageFile, "structure libre"),
                  withLoaded ? read(state_.LoadImageFile, "structure chargée") : nullptr};
    if (!problems.empty()) {
        platform_.messages.message(problems);
        return std::nullopt;
    }
    return pair;
}

void MainController::localisercorrelation()
{
    if (sequence_.files.size() >= 2) {
        correlateLoadedSequence();
        return;
    }
    const auto photographs = correlationPhotographs();
    if (!photographs)
        return;
    // The node waiting for its location has no loaded position to start from: it is left
    // out, and goes on waiting under the locate prompt.
    const int nodeCount = state_.locatedNodeCount();
    ProgressPort& progress = platform_.progress;
    progress.start("Localisation des noeuds par corrélation…", nodeCount);
    const auto outcome =
        correlateStudyNodes(state_, nodeCount, *photographs->free, *photographs->loaded,
                            CorrelationSettings{.subset = subset_},
                            [&progress](int done, int) { return progress.advance(done); });
    progress.finish();
    if (!outcome)
        return; // cancelled: every position is as it was
    platform_.messages.message(correlationCountsText(*outcome) + notFoundList(outcome->notFound));
    // Under the locate prompt the status stays the prompt, which redraws as the transient
    // text would, so that the next click still locates the waiting node.
    if (status_ != status::LocatePrompt)
        setStatus(status::Correlated);
}

void MainController::refineLocation(int node)
{
    const auto photographs = correlationPhotographs();
    if (!photographs)
        return;
    const auto n = static_cast<std::size_t>(node);
    const NodeMatch match =
        correlateNode(*photographs->free, *photographs->loaded, state_.FreeNodes[n],
                      state_.LoadNodes[n], CorrelationSettings{.subset = subset_});
    if (match.found)
        takeMatch(state_, node, match);
}

} // namespace ai
