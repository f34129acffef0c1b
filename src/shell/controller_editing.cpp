// Node creation and location, manual meshing, dragging and the erase commands.
#include "model/editing.h"
#include "model/picking.h"
#include "shell/main_controller.h"
#include "shell/status_text.h"

namespace ai {

void MainController::node()
{
    state_.StopFlag = false;
    setStatus(status::CreatePrompt);
}

void MainController::manumesh()
{
    // Cleared here too, or every pick after a Stop would turn into a drag attempt.
    state_.StopFlag = false;
    setStatus(status::FirstPick);
}

void MainController::picture1Pressed(float X, float Y)
{
    if (state_.StopFlag)
        setStatus(status::Stopped);

    if (status_ == status::CreatePrompt) {
        const int n = createNode(state_, X, Y);
        if (n == 0) {
            refuseFullTable(kMaxNodes, "noeuds");
            return;
        }
        state_.PendingNode = n;
        setStatus(status::LocatePrompt);
    } else if (status_ == status::FirstPick || status_ == status::SecondPick ||
               status_ == status::ThirdPick) {
        pickForTriangle(X, Y);
    } else if (status_ == status::RegionPrompt) {
        region_ = {X, Y, X, Y};
        setStatus(status::RegionDragging);
    } else if (!pickForCurve(X, Y)) {
        catchNode(true, X, Y);
    }
}

void MainController::picture2Pressed(float X, float Y)
{
    if (status_ == status::LocatePrompt) {
        if (state_.NodeCount < 1)
            return;
        const auto n = static_cast<std::size_t>(state_.NodeCount);
        placeNode(state_.LoadNodes[n], X, Y);
        state_.LoadLocations[n] = LoadLocation{};
        if (assisted_)
            refineLocation(state_.NodeCount);
        keepInStep(state_.NodeCount);
        state_.PendingNode = 0;
        setStatus(status::CreatePrompt);
    } else {
        catchNode(false, X, Y);
    }
}

void MainController::picture1Moved(float X, float Y)
{
    moveCaughtNode(true, X, Y);
    if (status_ == status::RegionDragging) {
        region_[2] = X;
        region_[3] = Y;
    }
    moveCurvePick(X, Y);
    majgraphique();
}

void MainController::picture2Moved(float X, float Y)
{
    moveCaughtNode(false, X, Y);
    majgraphique();
}

void MainController::setViewZoom(double zoom)
{
    if (zoom > 0)
        pickTolerance_ = static_cast<float>(PickTolerance / zoom);
}

void MainController::picture1Released()
{
    dropNode(true);
    if (status_ == status::RegionDragging)
        finishRegion();
    else if (status_ == status::GaugeDragging)
        finishGauge();
}

void MainController::picture2Released() { dropNode(false); }

void MainController::pickForTriangle(float X, float Y)
{
    if (status_ == status::FirstPick) {
        state_.CurrentElement = state_.ElementCount + 1;
        const int i = pickNode(state_.FreeNodes, state_.NodeCount, X, Y, pickTolerance_);
        if (i == 0)
            return;
        if (state_.ElementCount >= kMaxElements) {
            refuseFullTable(kMaxElements, "éléments");
            return;
        }
        picks_ = {i, 0, 0};
        setStatus(status::SecondPick);
    } else if (status_ == status::SecondPick) {
        const int i = pickNode(state_.FreeNodes, state_.NodeCount, X, Y, pickTolerance_,
                               [&](int n) { return n != picks_[0]; });
        if (i == 0)
            return;
        picks_[1] = i;
        setStatus(status::ThirdPick);
    } else {
        const int i = pickNode(state_.FreeNodes, state_.NodeCount, X, Y, pickTolerance_,
                               [&](int n) { return n != picks_[0] && n != picks_[1]; });
        if (i == 0)
            return;
        // The triangle goes after the triangles that exist now, even if a command that
        // leaves the prompt in place (effder, mesh) changed the table during the picks.
        if (!appendElement(state_, picks_[0], picks_[1], i)) {
            refuseFullTable(kMaxElements, "éléments");
            return;
        }
        state_.CurrentElement = state_.ElementCount;
        picks_ = {};
        setStatus(status::FirstPick);
    }
}

void MainController::catchNode(bool onFreeView, float X, float Y)
{
    const auto& nodes = onFreeView ? state_.FreeNodes : state_.LoadNodes;
    // The node waiting for its location is shown on neither view, so it cannot be caught.
    const int i = pickNode(nodes, state_.locatedNodeCount(), X, Y, pickTolerance_);
    if (i == 0)
        return;
    setStatus(status::Dragging);
    (onFreeView ? state_.FreeDragNode : state_.LoadDragNode) = i;
}

void MainController::moveCaughtNode(bool onFreeView, float X, float Y)
{
    const int i = onFreeView ? state_.FreeDragNode : state_.LoadDragNode;
    if (i == 0)
        return;
    auto& nodes = onFreeView ? state_.FreeNodes : state_.LoadNodes;
    placeNode(nodes[static_cast<std::size_t>(i)], X, Y);
    // A loaded position found by correlation matched the free one: moving either ends that.
    state_.LoadLocations[static_cast<std::size_t>(i)] = LoadLocation{};
    keepInStep(i);
}

void MainController::dropNode(bool onFreeView)
{
    int& dragged = onFreeView ? state_.FreeDragNode : state_.LoadDragNode;
    if (dragged == 0)
        return;
    dragged = 0;
    setStatus(status::NodeMoved);
}

void MainController::effder() { eraseLastElement(state_); }

void MainController::effmesh()
{
    eraseMesh(state_);
    reloadViews();
    setStatus(status::Erased);
}

void MainController::eff()
{
    eraseAll(state_);
    sequence_.steps.clear(); // their nodes are gone
    reloadViews();
    setStatus(status::Erased);
}

} // namespace ai
