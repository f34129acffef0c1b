// A correlated load sequence saved as one mesh file per step beside an index, and opened back
// whole.
#include "io/mesh_file_reader.h"
#include "io/mesh_file_writer.h"
#include "io/sequence_index.h"
#include "model/editing.h"
#include "model/measurement.h"
#include "shell/main_controller.h"

#include <algorithm>
#include <memory>

namespace ai {

namespace {

constexpr std::string_view MeshExtension = ".MEF";
constexpr std::string_view IndexExtension = ".sequence";

bool endsWithIgnoringCase(std::string_view text, std::string_view end)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return text.size() > end.size() &&
           std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
                      [&](char a, char b) { return lower(a) == lower(b); });
}

// The name chosen without the extension of a mesh file or an index, in any case: essai,
// essai.mef and essai.sequence give essai, so that no step file is named essai.MEF-01.MEF.
std::string baseName(std::string chosen)
{
    if (chosen.empty())
        chosen = "sans titre";
    for (const std::string_view extension : {MeshExtension, IndexExtension})
        if (endsWithIgnoringCase(chosen, extension))
            chosen.resize(chosen.size() - extension.size());
    return chosen;
}

// essai-07.MEF: numbered to the width of the last step, at least two digits, so that the
// files of a sequence sort in step order.
std::string stepFileName(const std::string& base, int step, int steps)
{
    const std::size_t width = std::max<std::size_t>(2, formatWhole(steps).size());
    std::string number = formatWhole(step);
    number.insert(0, width - std::min(width, number.size()), '0');
    return base + "-" + number + std::string(MeshExtension);
}

std::vector<int> notFoundNodes(const SequenceStep& step)
{
    std::vector<int> nodes;
    for (std::size_t n = 1; n < step.locations.size(); ++n)
        if (step.locations[n].notFound)
            nodes.push_back(static_cast<int>(n));
    return nodes;
}

// Why a step's mesh file does not describe the same study as step 1's, "" when it does.
std::string difference(const ProjectState& first, const ProjectState& other)
{
    if (other.NodeCount != first.NodeCount)
        return formatWhole(other.NodeCount) + " noeuds au lieu de " + formatWhole(first.NodeCount) +
               ".";
    if (other.ElementCount != first.ElementCount)
        return formatWhole(other.ElementCount) + " élément(s) au lieu de " +
               formatWhole(first.ElementCount) + ".";
    for (int n = 1; n <= first.NodeCount; ++n) {
        const Position& a = first.FreeNodes[static_cast<std::size_t>(n)];
        const Position& b = other.FreeNodes[static_cast<std::size_t>(n)];
        if (a.x != b.x || a.y != b.y)
            return "le noeud " + formatWhole(n) +
                   " n'est pas au même endroit sur la structure libre.";
    }
    for (int e = 1; e <= first.ElementCount; ++e)
        if (first.Elements[static_cast<std::size_t>(e)].nodes !=
            other.Elements[static_cast<std::size_t>(e)].nodes)
            return "l'élément " + formatWhole(e) + " n'a pas les mêmes noeuds.";
    return {};
}

// A step read from its mesh file and its not-found nodes, with its counts as the correlation
// gave them; `study` holds the mesh file's study with this step's records.
SequenceStep stepOf(ProjectState& study, const std::vector<int>& notFound)
{
    const auto count = static_cast<std::size_t>(study.NodeCount) + 1;
    SequenceStep step{{study.LoadNodes.begin(), study.LoadNodes.begin() + count},
                      std::vector<LoadLocation>(count),
                      {}};
    for (const int n : notFound)
        step.locations[static_cast<std::size_t>(n)].notFound = true;
    for (int n = 1; n <= study.NodeCount; ++n)
        (step.locations[static_cast<std::size_t>(n)].notFound ? step.outcome.notFound
                                                              : step.outcome.found)
            .push_back(n);
    applyStep(study, step);
    step.outcome.leftOutElements = leftOutElementCount(study);
    return step;
}

} // namespace

void MainController::enregistrersequence()
{
    const int stepCount = static_cast<int>(sequence_.steps.size());
    if (stepCount < 2 || sequence_.files.size() != sequence_.steps.size()) {
        platform_.messages.message("Il n'y a pas de séquence à enregistrer : aucune séquence de "
                                   "deux photographies ou plus n'a été corrélée.");
        return;
    }
    // Nodes added or withdrawn since the correlation have no position at every step.
    const int nodeCount = state_.locatedNodeCount();
    for (const SequenceStep& step : sequence_.steps)
        if (step.loaded.size() != static_cast<std::size_t>(nodeCount) + 1) {
            platform_.messages.message("Les noeuds ont changé depuis la corrélation de la "
                                       "séquence : la corréler à nouveau avant de l'enregistrer.");
            return;
        }
    const auto chosen = platform_.dialogs.saveFileName("Enregistrement d'une séquence");
    if (!chosen)
        return;
    const std::string base = baseName(*chosen);

    SequenceIndex index{state_.FreeImageFile, {}, std::clamp(sequence_.selected, 1, stepCount)};
    for (int k = 1; k <= stepCount; ++k)
        index.steps.push_back({sequence_.files[static_cast<std::size_t>(k - 1)],
                               stepFileName(base, k, stepCount),
                               notFoundNodes(sequence_.steps[static_cast<std::size_t>(k - 1)])});
    const auto indexText = writeSequenceIndex(index, folderOf(base));
    if (!indexText) {
        platform_.messages.message("La séquence ne peut pas être enregistrée : le chemin d'une de "
                                   "ses photographies est vide, trop long ou contient un saut de "
                                   "ligne.");
        return;
    }
    const auto write = [this](const std::string& path, const std::string& bytes) {
        const std::string reason = platform_.files.writeAtomically(path, bytes);
        if (!reason.empty())
            platform_.messages.message(
                "La séquence n'a pas pu être enregistrée dans le fichier \"" + path +
                "\" : " + reason);
        return reason.empty();
    };
    // The index is written last, so that it never names a step file that is not there.
    auto work = std::make_unique<ProjectState>(state_);
    for (int k = 1; k <= stepCount; ++k) {
        applyStep(*work, sequence_.steps[static_cast<std::size_t>(k - 1)]);
        if (!write(index.steps[static_cast<std::size_t>(k - 1)].meshFile,
                   writeMeshFile(*work, nodeCount, settings_.format)))
            return;
    }
    if (write(base + std::string(MeshExtension),
              writeMeshFile(state_, nodeCount, settings_.format)))
        write(base + std::string(IndexExtension), *indexText);
}

void MainController::ouvrirsequence()
{
    const auto path = platform_.dialogs.openFileName("Ouverture d'une séquence");
    if (!path)
        return;
    const auto refuse = [this, &path](const std::string& why) {
        platform_.messages.message("La séquence \"" + *path + "\" ne peut pas être ouverte. " +
                                   why);
    };
    const auto bytes = platform_.files.read(*path, kMaxSequenceIndexBytes);
    if (!bytes)
        return refuse("Le fichier ne peut pas être lu ou est trop grand.");
    const SequenceIndexReading reading = readSequenceIndex(*bytes, folderOf(*path));
    if (!reading.index)
        return refuse(reading.error);
    const SequenceIndex& index = *reading.index;

    // Step 1's study is the sequence's; every other step's file must describe the same one.
    auto first = std::make_unique<ProjectState>();
    auto other = std::make_unique<ProjectState>();
    LoadSequence opened{{}, {}, index.selected};
    for (std::size_t k = 0; k < index.steps.size(); ++k) {
        const SequenceIndexStep& entry = index.steps[k];
        const std::string file = "Le fichier de maillage \"" + entry.meshFile + "\" de l'étape " +
                                 formatWhole(static_cast<long long>(k) + 1);
        ProjectState& study = k == 0 ? *first : *other;
        eraseAll(study);
        const auto meshBytes = platform_.files.read(entry.meshFile, kMaxMeshFileBytes);
        if (!meshBytes)
            return refuse(file + " ne peut pas être lu.");
        if (!readMeshFile(*meshBytes, study))
            return refuse(file + " n'est pas un fichier de maillage.");
        if (const std::string why = difference(*first, study); !why.empty())
            return refuse(file + " ne correspond pas à celui de l'étape 1 : " + why);
        if (!entry.notFound.empty() && entry.notFound.back() > study.NodeCount)
            return refuse(file + " n'a pas de noeud " + formatWhole(entry.notFound.back()) +
                          ", que l'index dit non trouvé.");
        opened.files.push_back(entry.photograph);
        opened.steps.push_back(stepOf(study, entry.notFound));
    }

    eff();
    for (int n = 1; n <= first->NodeCount; ++n)
        state_.FreeNodes[static_cast<std::size_t>(n)] =
            first->FreeNodes[static_cast<std::size_t>(n)];
    state_.Elements = first->Elements;
    state_.NodeCount = first->NodeCount;
    state_.ElementCount = first->ElementCount;
    state_.GridBaseNodeCount = state_.NodeCount;
    state_.GridBaseElementCount = state_.ElementCount;
    sequence_ = std::move(opened);
    state_.FreeImageFile = index.freePhotograph;
    platform_.messages.message("Séquence de " +
                               formatWhole(static_cast<long long>(sequence_.steps.size())) +
                               " étape(s) : " + formatWhole(state_.NodeCount) + " noeuds et " +
                               formatWhole(state_.ElementCount) + " élément(s)");
    if (const std::string failure = platform_.picture1.importPicture(state_.FreeImageFile);
        !failure.empty())
        platform_.messages.message(failure);
    selectStep(sequence_.selected);
}

} // namespace ai
