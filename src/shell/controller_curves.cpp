// The menu "Courbes": what to follow (nodes, triangles, a virtual gauge or extensometer picked
// on the free view), the quantity, and its curve over the load steps.
#include "analysis/element_stress.h"
#include "model/picking.h"
#include "shell/history_steps.h"
#include "shell/main_controller.h"
#include "shell/status_text.h"

#include <algorithm>
#include <cmath>

namespace ai {

namespace {

using Kind = HistorySelection::Kind;

// The picks stand apart from the red marks, the highlighted edges and the region's band.
constexpr Rgb kCurvePick{0, 190, 0};

// The highest-numbered triangle whose free geometry holds the point, edges included, or 0.
int pickTriangle(const ProjectState& state, float X, float Y)
{
    for (int e = std::min(state.ElementCount, kMaxElements); e >= 1; --e) {
        const auto& nodes = state.Elements[static_cast<std::size_t>(e)].nodes;
        if (std::any_of(nodes.begin(), nodes.end(),
                        [&](int n) { return n < 1 || n > state.locatedNodeCount(); }))
            continue;
        std::array<double, 3> sides{};
        for (std::size_t i = 0; i < 3; ++i) {
            const Position& a = state.FreeNodes[static_cast<std::size_t>(nodes[i])];
            const Position& b = state.FreeNodes[static_cast<std::size_t>(nodes[(i + 1) % 3])];
            sides[i] = (b.x - a.x) * (Y - a.y) - (b.y - a.y) * (X - a.x);
        }
        const bool inside = (sides[0] >= 0 && sides[1] >= 0 && sides[2] >= 0) ||
                            (sides[0] <= 0 && sides[1] <= 0 && sides[2] <= 0);
        if (inside && twiceSignedArea({state.FreeNodes[static_cast<std::size_t>(nodes[0])],
                                       state.FreeNodes[static_cast<std::size_t>(nodes[1])],
                                       state.FreeNodes[static_cast<std::size_t>(nodes[2])]}) != 0)
            return e;
    }
    return 0;
}

// Adds the item, or takes it back when it was picked already.
void toggle(std::vector<int>& items, int item)
{
    const auto it = std::find(items.begin(), items.end(), item);
    if (it == items.end())
        items.push_back(item);
    else
        items.erase(it);
}

std::string numbers(const std::vector<int>& items)
{
    std::string text;
    for (const int item : items)
        text += (text.empty() ? "" : ", ") + formatWhole(item);
    return text;
}

std::string curveTitle(const HistorySelection& selection)
{
    switch (selection.kind) {
    case Kind::Nodes:
        return (selection.items.size() > 1 ? "Moyenne des noeuds " : "Noeud ") +
               numbers(selection.items);
    case Kind::Triangles:
        return (selection.items.size() > 1 ? "Moyenne des éléments " : "Elément ") +
               numbers(selection.items);
    case Kind::Gauge:
        return "Jauge virtuelle";
    case Kind::Extensometer:
        break;
    }
    return "Extensomètre virtuel entre les noeuds " + formatWhole(selection.items[0]) + " et " +
           formatWhole(selection.items[1]);
}

bool hasArea(const GaugeRectangle& g)
{
    return g.from.isSet() && g.to.isSet() && g.from.x != g.to.x && g.from.y != g.to.y;
}

bool needsStudy(HistoryQuantity q)
{
    return q == HistoryQuantity::Sxx || q == HistoryQuantity::Syy || q == HistoryQuantity::Txy ||
           q == HistoryQuantity::VonMises;
}

} // namespace

void MainController::startCurvePick(Kind kind, std::string_view prompt)
{
    state_.StopFlag = false;
    curveSelection_ = {kind, {}, {}};
    setStatus(prompt);
    views_.forget();
    majgraphique();
}

void MainController::courbesnoeuds() { startCurvePick(Kind::Nodes, status::CurveNodesPrompt); }

void MainController::courbeselements()
{
    startCurvePick(Kind::Triangles, status::CurveTrianglesPrompt);
}

void MainController::jaugevirtuelle() { startCurvePick(Kind::Gauge, status::GaugePrompt); }

void MainController::extensometrevirtuel()
{
    startCurvePick(Kind::Extensometer, status::ExtensometerFirst);
}

void MainController::grandeurcourbe(HistoryQuantity quantity) { curveQuantity_ = quantity; }

bool MainController::pickForCurve(float X, float Y)
{
    const int located = state_.locatedNodeCount();
    if (status_ == status::CurveNodesPrompt) {
        if (const int n = pickNode(state_.FreeNodes, located, X, Y, pickTolerance_))
            toggle(curveSelection_.items, n);
    } else if (status_ == status::CurveTrianglesPrompt) {
        if (const int e = pickTriangle(state_, X, Y))
            toggle(curveSelection_.items, e);
    } else if (status_ == status::GaugePrompt) {
        curveSelection_.gauge = {{X, Y}, {X, Y}};
        setStatus(status::GaugeDragging);
    } else if (status_ == status::ExtensometerFirst || status_ == status::ExtensometerSecond) {
        const bool first = status_ == status::ExtensometerFirst;
        const int n = pickNode(state_.FreeNodes, located, X, Y, pickTolerance_, [&](int i) {
            return first || i != curveSelection_.items.front();
        });
        if (n == 0)
            return true;
        curveSelection_.items.push_back(n);
        setStatus(first ? status::ExtensometerSecond : status::ExtensometerChosen);
    } else {
        return false;
    }
    majgraphique();
    return true;
}

void MainController::moveCurvePick(float X, float Y)
{
    if (status_ == status::GaugeDragging)
        curveSelection_.gauge.to = {X, Y};
}

void MainController::finishGauge()
{
    // A click without a drag covers nothing: the prompt stays for another rectangle, and the
    // redraw clears the band.
    const bool drawn = hasArea(curveSelection_.gauge);
    setStatus(drawn ? status::GaugeDrawn : status::GaugePrompt);
    if (!drawn)
        views_.forget();
    majgraphique();
}

bool MainController::drawsCurvePicks() const
{
    return status_ == status::CurveNodesPrompt || status_ == status::CurveTrianglesPrompt ||
           status_ == status::GaugeDragging || status_ == status::GaugeDrawn ||
           status_ == status::ExtensometerFirst || status_ == status::ExtensometerSecond ||
           status_ == status::ExtensometerChosen;
}

void MainController::drawCurvePicks()
{
    if (!drawsCurvePicks())
        return;
    ImageView& view = platform_.picture1;
    // A command that keeps the prompt (an erase, a mesh) may have removed a pick.
    const auto exists = [&](int node) {
        return node >= 1 && node <= state_.locatedNodeCount() &&
               state_.FreeNodes[static_cast<std::size_t>(node)].isSet();
    };
    const auto square = [&](int node) {
        if (!exists(node))
            return;
        const Position& p = state_.FreeNodes[static_cast<std::size_t>(node)];
        const auto x = static_cast<float>(p.x), y = static_cast<float>(p.y);
        const float h = pickTolerance_;
        view.drawLine(x - h, y - h, x + h, y - h, kCurvePick);
        view.drawLine(x + h, y - h, x + h, y + h, kCurvePick);
        view.drawLine(x + h, y + h, x - h, y + h, kCurvePick);
        view.drawLine(x - h, y + h, x - h, y - h, kCurvePick);
    };
    const auto line = [&](const Position& a, const Position& b) {
        view.drawLine(static_cast<float>(a.x), static_cast<float>(a.y), static_cast<float>(b.x),
                      static_cast<float>(b.y), kCurvePick);
    };
    const auto& items = curveSelection_.items;
    switch (curveSelection_.kind) {
    case Kind::Nodes:
    case Kind::Extensometer:
        for (const int n : items)
            square(n);
        if (items.size() == 2 && exists(items[0]) && exists(items[1]))
            line(state_.FreeNodes[static_cast<std::size_t>(items[0])],
                 state_.FreeNodes[static_cast<std::size_t>(items[1])]);
        break;
    case Kind::Triangles:
        for (const int e : items) {
            const auto& nodes = state_.Elements[static_cast<std::size_t>(e)].nodes;
            if (e > state_.ElementCount || !std::all_of(nodes.begin(), nodes.end(), exists))
                continue;
            for (std::size_t i = 0; i < 3; ++i)
                line(state_.FreeNodes[static_cast<std::size_t>(nodes[i])],
                     state_.FreeNodes[static_cast<std::size_t>(nodes[(i + 1) % 3])]);
        }
        break;
    case Kind::Gauge: {
        const Position& a = curveSelection_.gauge.from;
        const Position& b = curveSelection_.gauge.to;
        line(a, {b.x, a.y});
        line({b.x, a.y}, b);
        line(b, {a.x, b.y});
        line({a.x, b.y}, a);
        break;
    }
    }
}

void MainController::affichercourbe()
{
    const HistorySelection& selection = curveSelection_;
    const std::size_t needed = selection.kind == Kind::Extensometer ? 2 : 1;
    const bool chosen = selection.kind == Kind::Gauge ? hasArea(selection.gauge)
                                                      : selection.items.size() >= needed;
    if (!chosen) {
        platform_.messages.message(
            "Rien n'est choisi : désigner d'abord dans le menu Courbes des noeuds, des éléments, "
            "une jauge virtuelle ou un extensomètre virtuel.");
        return;
    }
    if (state_.locatedNodeCount() == 0) {
        platform_.messages.message("Aucun noeud n'a de position sur la structure chargée : "
                                   "localiser les noeuds avant d'afficher une courbe.");
        return;
    }
    const bool extensometer = selection.kind == Kind::Extensometer;
    const bool stress = !extensometer && needsStudy(curveQuantity_);
    // The hypothesis is the last study's: a stress without a study would be a guess.
    if (stress && state_.StressComponent == Component::None) {
        platform_.messages.message(
            "Aucune étude n'a été lancée : lancer d'abord une étude du menu Etude, dont la "
            "courbe reprendra l'hypothèse (contraintes planes ou déformations planes).");
        return;
    }
    Material material;
    if (stress) {
        const MaterialReading reading =
            readMaterial(young_, poisson_, state_.PlaneStressFlag, settings_.format);
        if (!reading.material) {
            platform_.messages.message(reading.refusal);
            return;
        }
        material = *reading.material;
    }
    HistoryCurve curve;
    curve.title = curveTitle(selection);
    curve.quantity = extensometer ? "(d - d0) / d0" : std::string(quantityName(curveQuantity_));
    curve.unit = extensometer ? "" : std::string(quantityUnit(curveQuantity_));
    const std::string photograph =
        sequence_.files.empty() ? state_.LoadImageFile : sequence_.files.front();
    curve.points = historyOverSteps(state_, sequence_, photograph, selection, curveQuantity_,
                                    material, state_.PlaneStressFlag);
    platform_.curves.showCurve(curve);
}

} // namespace ai
