#include "shell/main_controller.h"

#include "model/editing.h"
#include "render/views_redraw.h"
#include "shell/status_text.h"

namespace ai {

MainController::MainController(const Platform& platform, const Settings& settings)
    : platform_(platform), settings_(settings), status_(status::Waiting), young_("1"),
      poisson_(formatDouble(0.47, settings.format))
{
}

void MainController::setStatus(std::string_view text)
{
    // Leaving the locate prompt withdraws the node that waits for its location, so that
    // every node counted has both positions. It is always the last node.
    if (status_ == status::LocatePrompt && text != status::LocatePrompt &&
        state_.PendingNode != 0 && state_.PendingNode == state_.NodeCount)
        removeNodesAfter(state_, state_.NodeCount - 1);
    if (text != status::LocatePrompt)
        state_.PendingNode = 0;
    status_ = text;
    platform_.window.showStatus(status_);
}

void MainController::setVisible(Panel panel, bool visible)
{
    visible_[static_cast<std::size_t>(panel)] = visible;
    platform_.window.setPanelVisible(panel, visible);
}

void MainController::stopcmd()
{
    state_.StopFlag = true;
    setStatus(status::Waiting);
}

void MainController::command6Click()
{
    setVisible(Panel::Frame3, false);
    setStatus(status::Waiting);
}

void MainController::command7Click()
{
    setStatus(status::Waiting);
    setVisible(Panel::Frame4, false);
}

void MainController::text1Changed(const std::string& text) { young_ = text; }

void MainController::text2Changed(const std::string& text) { poisson_ = text; }

void MainController::formMoved() { majgraphique(); }

void MainController::frame3Moved() { majgraphique(); }

void MainController::label7Moved() { setVisible(Panel::Label5, true); }

void MainController::label5Moved() { setVisible(Panel::Frame1, true); }

void MainController::mapWindowClosed()
{
    mapShown_ = false;
    setStatus(status::Computed);
}

void MainController::majgraphique()
{
    if (status::isResting(status_))
        return;
    setVisible(Panel::Frame1, false);
    setVisible(Panel::Label5, false);
    // The band is drawn over the views' drawing: restore them, or it would pile up.
    const bool band = status_ == status::RegionDragging || drawsCurvePicks();
    if (band)
        views_.forget();
    // The node waiting for its location has no loaded position: neither view shows it.
    views_.redraw(state_, state_.locatedNodeCount(), platform_.picture1, platform_.picture2,
                  settings_.highlight);
    if (status_ == status::RegionDragging)
        drawRegionBand();
    drawCurvePicks();
    if (status::isTransient(status_))
        setStatus(status::Waiting);
}

void MainController::reloadViews()
{
    views_.forget();
    platform_.picture1.restorePicture(state_.FreeImageFile);
    platform_.picture2.restorePicture(state_.LoadImageFile);
}

std::optional<std::string> MainController::importInto(ImageView& view, std::string& rememberedFile)
{
    const auto path = platform_.dialogs.openFileName("Récupérer un fichier image");
    if (!path || !importFile(view, rememberedFile, *path))
        return std::nullopt;
    return path;
}

bool MainController::importFile(ImageView& view, std::string& rememberedFile,
                                const std::string& path)
{
    // A file that cannot be read leaves the view and the remembered name as they were, and
    // the user learns why.
    views_.forget();
    const std::string failure = view.importPicture(path);
    if (failure.empty())
        rememberedFile = path;
    else
        platform_.messages.message(failure);
    return failure.empty();
}

void MainController::imgcharge()
{
    if (const auto path = importInto(platform_.picture2, state_.LoadImageFile))
        startSequence({*path});
}

void MainController::imagelibre() { importInto(platform_.picture1, state_.FreeImageFile); }

void MainController::refuseFullTable(int limit, std::string_view what)
{
    platform_.messages.message("La limite de " + formatWhole(limit) + " " + std::string(what) +
                               " est atteinte : aucun ne peut être ajouté.");
}

} // namespace ai
