// The menu "Maillage" > "Grille sur une région": a rectangle dragged on the free view, then
// a structured grid over it with the node spacing the user types.
#include "mesh/region_grid.h"
#include "mesh/structured_grid.h"
#include "model/number_text.h"
#include "shell/main_controller.h"
#include "shell/status_text.h"

#include <algorithm>
#include <cmath>

namespace ai {

namespace {

// The band stands apart from the red marks and the highlighted edges.
constexpr Rgb kRegionBand{255, 200, 0};

// The spacing offered first: the grid bars' initial spacing, 10 pixels.
constexpr int kOfferedStep = 10;

// A position in view units as the whole pixel it falls on; the photograph starts at 0.
int pixelAt(float units)
{
    return std::max(0, static_cast<int>(std::lround(units / kTwipsPerPixel)));
}

PixelRegion pixelRegion(const std::array<float, 4>& corners)
{
    return {pixelAt(corners[0]), pixelAt(corners[1]), pixelAt(corners[2]), pixelAt(corners[3])};
}

std::string limitsText()
{
    return "l'étude est limitée à " + formatWhole(kMaxNodes) + " noeuds et " +
           formatWhole(kMaxElements) + " éléments";
}

} // namespace

void MainController::grilleregion()
{
    state_.StopFlag = false;
    // A bar of the grid panel rebuilds everything after its base: it would drop this grid.
    setVisible(Panel::Frame3, false);
    setStatus(status::RegionPrompt);
}

void MainController::drawRegionBand()
{
    const PixelRegion r = pixelRegion(region_);
    const auto x0 = static_cast<float>(std::min(r.x0, r.x1) * kTwipsPerPixel);
    const auto y0 = static_cast<float>(std::min(r.y0, r.y1) * kTwipsPerPixel);
    const auto x1 = static_cast<float>(std::max(r.x0, r.x1) * kTwipsPerPixel);
    const auto y1 = static_cast<float>(std::max(r.y0, r.y1) * kTwipsPerPixel);
    ImageView& view = platform_.picture1;
    view.drawLine(x0, y0, x1, y0, kRegionBand);
    view.drawLine(x1, y0, x1, y1, kRegionBand);
    view.drawLine(x1, y1, x0, y1, kRegionBand);
    view.drawLine(x0, y1, x0, y0, kRegionBand);
}

void MainController::restartRegion()
{
    // Back to the prompt, so that another rectangle can be drawn; the redraw clears the band.
    setStatus(status::RegionPrompt);
    views_.forget();
    majgraphique();
}

void MainController::finishRegion()
{
    const PixelRegion region = pixelRegion(region_);
    const int largest = largestRegionStep(region);
    if (largest < 1) {
        restartRegion();
        return;
    }
    const int finest = finestFittingStep(state_, region);
    if (finest == 0) {
        platform_.messages.message(
            "Aucune grille ne peut couvrir ce rectangle : même au plus grand pas, " +
            formatWhole(largest) + " pixels, elle dépasserait les " +
            formatWhole(kMaxNodes - state_.NodeCount) + " noeuds et " +
            formatWhole(kMaxElements - state_.ElementCount) + " éléments qui restent ; " +
            limitsText() + ".");
        restartRegion();
        return;
    }
    const auto step = platform_.numbers.wholeNumber(
        "Grille sur une région", "Pas des noeuds en pixels (de 1 à " + formatWhole(largest) + ") :",
        std::clamp(kOfferedStep, finest, largest), 1, largest);
    if (!step || *step < 1 || *step > largest) {
        restartRegion();
        return;
    }
    const GridBars bars = regionGridBars(region, *step);
    if (!appendGrid(state_, bars)) {
        platform_.messages.message(
            "La grille de " + formatWhole(bars.columns) + " x " + formatWhole(bars.rows) +
            " noeuds n'a pas été créée : elle compterait " + formatWhole(gridNodeCount(bars)) +
            " noeuds et " + formatWhole(gridElementCount(bars)) + " éléments, alors que " +
            limitsText() + ". Sur ce rectangle, le plus petit pas qui convient est de " +
            formatWhole(finest) + " pixels.");
        restartRegion();
        return;
    }
    setStatus(status::RegionGridAdded);
    majgraphique();
}

} // namespace ai
