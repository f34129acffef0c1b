// The automatic mesher, the structured grid and the scroll bars that drive them.
#include "mesh/automatic_mesher.h"
#include "mesh/structured_grid.h"
#include "model/number_text.h"
#include "shell/main_controller.h"
#include "shell/status_text.h"

#include <algorithm>

namespace ai {

namespace {

GridBars gridBars(const BarValues& bars)
{
    return GridBars{bars[Bar::HScroll1], bars[Bar::VScroll1], bars[Bar::HScroll2],
                    bars[Bar::VScroll2], bars[Bar::HScroll3], bars[Bar::VScroll3],
                    bars[Bar::HScroll4], bars[Bar::VScroll4], bars[Bar::HScroll5],
                    bars[Bar::VScroll5]};
}

std::string refusedGridText(const GridBars& bars, const GridOutcome& outcome)
{
    return "La structure maillée de " + formatWhole(bars.columns) + " x " +
           formatWhole(bars.rows) + " noeuds n'a pas été créée : elle compterait " +
           formatWhole(gridNodeCount(bars)) + " noeuds et " + formatWhole(gridElementCount(bars)) +
           " éléments, alors que l'étude est limitée à " + formatWhole(kMaxNodes) + " noeuds et " +
           formatWhole(kMaxElements) + " éléments. Avec le maillage existant, la grille peut " +
           "compter au plus " + formatWhole(outcome.nodeRoom) + " noeuds et " +
           formatWhole(outcome.elementRoom) + " éléments.";
}

} // namespace

void MainController::mesh()
{
    state_.StopFlag = false;
    if (status_ == status::LocatePrompt)
        return;
    setVisible(Panel::Frame4, true);
    setVisible(Panel::Frame3, false);
    mailleurautomatique();
}

void MainController::automesh()
{
    state_.StopFlag = false;
    setVisible(Panel::Frame3, true);
    setVisible(Panel::Frame4, false);
    // A node waiting for its location counts in the base: located before any bar moves, it
    // stays before the grid; a bar change leaves the prompt first, which withdraws it, and
    // the rebuild then lowers the base to the nodes that remain.
    state_.GridBaseNodeCount = state_.NodeCount;
    state_.GridBaseElementCount = state_.ElementCount;
    setBar(Bar::HScroll1, 2);
    setBar(Bar::VScroll1, 2);
}

void MainController::barChanged(Bar bar, int value)
{
    const BarRange range = barRange(bar);
    const int clamped = std::clamp(value, range.minimum, range.maximum);
    if (clamped != value)
        platform_.window.setBarValue(bar, clamped);
    if (bars_[bar] == clamped)
        return;
    bars_[bar] = clamped;

    if (isGridBar(bar)) {
        // Setting the status first leaves the locate prompt, which withdraws the node
        // that waits for its location before the grid is rebuilt after the base.
        setStatus(status::GridChanged);
        majautomesh();
    } else {
        if (status_ == status::LocatePrompt)
            return;
        setStatus(status::AutoMeshed);
        mailleurautomatique();
    }
    majgraphique();
}

void MainController::setBar(Bar bar, int value)
{
    if (bars_[bar] == value)
        return;
    platform_.window.setBarValue(bar, value);
    barChanged(bar, value);
}

void MainController::mailleurautomatique() { buildAutomaticMesh(state_, bars_[Bar::HScroll6]); }

void MainController::majautomesh()
{
    const GridBars bars = gridBars(bars_);
    const GridOutcome outcome = rebuildStructuredGrid(state_, bars);
    sequence_.steps.clear(); // the grid's nodes are new, never measured at any step
    if (!outcome.built)
        platform_.messages.message(refusedGridText(bars, outcome));
}

} // namespace ai
