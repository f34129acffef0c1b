// The mesh file commands: save and open.
#include "io/mesh_file_reader.h"
#include "io/mesh_file_writer.h"
#include "shell/main_controller.h"

namespace ai {

void MainController::save()
{
    const auto chosen = platform_.dialogs.saveFileName("Sauvergarde d'un maillage");
    if (!chosen)
        return;
    // The extension is appended whatever the name ends with: etude.MEF gives etude.MEF.MEF.
    const std::string path = (chosen->empty() ? std::string("sans titre") : *chosen) + ".MEF";
    // A node still waiting for its location has no loaded position to write.
    const std::string reason = platform_.files.writeAtomically(
        path, writeMeshFile(state_, state_.locatedNodeCount(), settings_.format));
    if (!reason.empty())
        platform_.messages.message("Le maillage n'a pas pu être enregistré dans le fichier \"" +
                                   path + "\" : " + reason);
}

void MainController::open()
{
    const auto path = platform_.dialogs.openFileName("Ouverture d'un maillage");
    if (!path)
        return;
    eff();
    // A file that cannot be read, or too large to be a mesh file, holds no counts and no
    // entries, as an empty one.
    const auto counts =
        readMeshFile(platform_.files.read(*path, kMaxMeshFileBytes).value_or(""), state_);
    // A grid made while the grid panel stays open follows the opened study instead of
    // replacing its nodes as if they were an earlier grid.
    state_.GridBaseNodeCount = state_.NodeCount;
    state_.GridBaseElementCount = state_.ElementCount;
    if (!counts)
        return;
    // The counts shown are those of the study now in memory, so a file that ended
    // early or claimed more than it holds is not reported as loaded whole.
    platform_.messages.message(formatWhole(counts->nodes) + " noeuds et " +
                               formatWhole(counts->elements) + " élément(s)");
}

} // namespace ai
