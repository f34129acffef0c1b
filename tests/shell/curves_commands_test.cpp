// The menu "Courbes": picking what to follow on the free view, and the curve it shows.
#include "shell/history_steps.h"
#include "shell/status_text.h"
#include "support/fakes.h"
#include "support/small_studies.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace ai {
namespace {

using test::Harness;
using test::RecordingView;
using Kind = HistorySelection::Kind;
constexpr Rgb kPick{0, 190, 0};

// The grid 1500 units apart, stretched 5 % along x, node 5 the centre at (3000, 3000).
void stretchedGrid(Harness& h) { test::stretchedGrid(h.controller, 1500); }

std::size_t pickLines(const RecordingView& view)
{
    return static_cast<std::size_t>(std::count_if(
        view.lines.begin(), view.lines.end(), [](const auto& l) { return l.colour == kPick; }));
}

TEST(CurvesCommands, EachPickingModeChoosesOnTheFreeViewAndMarksItsChoice)
{
    using C = MainController;
    const struct {
        void (C::*command)();
        std::function<void(C&)> picks;
        HistorySelection expected;
        std::string_view status;
        std::size_t lines; // marks: a square a node, a triangle's edges, the gauge's sides
    } cases[] = {
        // A second click takes a node back; a click far from any node picks nothing.
        {&C::courbesnoeuds,
         [](C& c) {
             c.picture1Pressed(3000, 3010), c.picture1Pressed(1500, 1500);
             c.picture1Pressed(3000, 3000), c.picture1Pressed(9000, 9000);
         },
         {Kind::Nodes, {1}, {}}, status::CurveNodesPrompt, 4},
        // Inside a triangle, not near a node.
        {&C::courbeselements, [](C& c) { c.picture1Pressed(2000, 2400); },
         {Kind::Triangles, {1}, {}}, status::CurveTrianglesPrompt, 3},
        // The second node cannot be the first.
        {&C::extensometrevirtuel,
         [](C& c) {
             c.picture1Pressed(1500, 1500), c.picture1Pressed(1500, 1500);
             c.picture1Pressed(4500, 1500);
         },
         {Kind::Extensometer, {1, 7}, {}}, status::Waiting, 9},
        {&C::jaugevirtuelle,
         [](C& c) {
             c.picture1Pressed(4000, 1000), c.picture1Moved(2000, 2000);
             c.picture1Moved(1000, 4000), c.picture1Released();
         },
         {Kind::Gauge, {}, {{4000, 1000}, {1000, 4000}}}, status::Waiting, 4},
        // A click without a drag leaves the prompt for another rectangle.
        {&C::jaugevirtuelle, [](C& c) { c.picture1Pressed(4000, 1000), c.picture1Released(); },
         {Kind::Gauge, {}, {{4000, 1000}, {4000, 1000}}}, status::GaugePrompt, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        Harness h;
        stretchedGrid(h);
        (h.controller.*c.command)();
        c.picks(h.controller);
        const HistorySelection& chosen = h.controller.curveSelection();
        EXPECT_EQ(chosen.kind, c.expected.kind);
        EXPECT_EQ(chosen.items, c.expected.items);
        const auto corners = [](const GaugeRectangle& g) {
            return std::tuple(g.from.x, g.from.y, g.to.x, g.to.y);
        };
        if (c.expected.kind == Kind::Gauge) { // a position is NaN until placed
            EXPECT_EQ(corners(chosen.gauge), corners(c.expected.gauge));
        }
        EXPECT_EQ(h.controller.statusLine(), c.status);
        EXPECT_EQ(pickLines(h.picture1), c.lines);
        EXPECT_EQ(h.state().FreeNodes[1].x, 1500) << "a pick drags no node";
        // Stop ends the pick and keeps the choice.
        h.controller.stopcmd();
        EXPECT_EQ(h.controller.curveSelection().items, c.expected.items);
    }
    // A picked triangle erased while the prompt stays is no longer marked.
    Harness h;
    stretchedGrid(h);
    h.controller.courbeselements();
    const auto& last = h.state().Elements[8].nodes;
    float X = 0, Y = 0;
    for (const int n : last)
        X += static_cast<float>(h.state().FreeNodes[static_cast<std::size_t>(n)].x) / 3,
            Y += static_cast<float>(h.state().FreeNodes[static_cast<std::size_t>(n)].y) / 3;
    h.controller.picture1Pressed(X, Y);
    EXPECT_EQ(h.controller.curveSelection().items, std::vector<int>{8});
    h.controller.effder();
    h.controller.picture1Moved(X, Y);
    EXPECT_EQ(pickLines(h.picture1), 0u);
}

TEST(CurvesCommands, TheCurveIsShownOrRefusedWithAMessage)
{
    using Q = HistoryQuantity;
    const double k = 2000 / (1 - 0.09); // plane stress
    const struct {
        std::function<void(Harness&)> steps;
        std::string message; // the start of the refusal, empty when the curve is shown
        double value = 0;
    } cases[] = {
        {[](Harness&) {}, "Rien n'est choisi"},
        {[](Harness& h) { h.controller.courbesnoeuds(); }, "Rien n'est choisi"},
        {[](Harness& h) {
             h.controller.extensometrevirtuel();
             h.controller.picture1Pressed(1500, 1500);
         },
         "Rien n'est choisi"},
        {[](Harness& h) {
             h.controller.eff();
             h.controller.jaugevirtuelle();
             h.controller.picture1Pressed(0, 0), h.controller.picture1Moved(10, 10);
             h.controller.picture1Released();
         },
         "Aucun noeud n'a de position"},
        {[](Harness& h) { h.controller.grandeurcourbe(Q::Sxx); }, "Aucune étude n'a été lancée"},
        {[](Harness& h) {
             h.controller.sxxctrteplane();
             h.controller.text1Changed("deux");
             h.controller.grandeurcourbe(Q::VonMises);
         },
         "Module de Young incorrect"},
        // A strain needs no study, a stress takes the last study's hypothesis.
        {[](Harness&) {}, "", 0.05},
        {[](Harness& h) {
             h.controller.text1Changed("2000");
             h.controller.text2Changed("0,3");
             h.controller.sxxctrteplane();
             h.controller.grandeurcourbe(Q::Sxx);
         },
         "", k * 0.05},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Harness h;
        stretchedGrid(h);
        if (c.message.empty() || c.message[0] != 'R') {
            h.controller.jaugevirtuelle();
            h.controller.picture1Pressed(0, 0), h.controller.picture1Moved(9000, 9000);
            h.controller.picture1Released();
        }
        c.steps(h);
        h.messages.shown.clear();
        h.controller.affichercourbe();
        if (!c.message.empty()) {
            ASSERT_EQ(h.messages.shown.size(), 1u);
            EXPECT_EQ(h.messages.shown[0].rfind(c.message, 0), 0u) << h.messages.shown[0];
            EXPECT_TRUE(h.curves.shown.empty());
            continue;
        }
        EXPECT_TRUE(h.messages.shown.empty());
        ASSERT_EQ(h.curves.shown.size(), 1u);
        const HistoryCurve& curve = h.curves.shown[0];
        EXPECT_EQ(curve.title, "Jauge virtuelle");
        ASSERT_EQ(curve.points.size(), 1u);
        EXPECT_EQ(curve.points[0].step, 1);
        EXPECT_NEAR(curve.points[0].value->value, c.value, 1e-9 * (1 + c.value));
    }
}

TEST(CurvesCommands, EveryStepOfTheSequenceGivesAPointOrAGap)
{
    Harness h;
    stretchedGrid(h);
    ProjectState state = h.state();
    // Three steps stretching node 7 (free x 4500) by 0, 1 and 2 %; node 7 not found at step 2;
    // node 9 made after the correlation.
    LoadSequence sequence{{"s1.png", "s2.png", "s3.png"}, {}, 1};
    for (int k = 0; k < 3; ++k) {
        SequenceStep step{{state.FreeNodes.begin(), state.FreeNodes.begin() + 9},
                          std::vector<LoadLocation>(9),
                          {}};
        step.loaded[7].x += 30.0 * k;
        step.locations[7].notFound = k == 1;
        sequence.steps.push_back(step);
    }
    const auto points = [&](HistorySelection selection) {
        return historyOverSteps(state, sequence, "", selection, HistoryQuantity::U, {}, true);
    };
    const auto u7 = points({Kind::Nodes, {7}, {}});
    ASSERT_EQ(u7.size(), 3u);
    EXPECT_EQ(u7[2].photograph, "s3.png");
    EXPECT_NEAR(u7[0].value->value, 0.0, 1e-12);
    EXPECT_FALSE(u7[1].value.has_value());
    EXPECT_NEAR(u7[2].value->value, 4.0, 1e-12);
    const auto stretch = points({Kind::Extensometer, {1, 7}, {}});
    EXPECT_NEAR(stretch[2].value->value, 60.0 / 3000, 1e-12);
    for (const auto& point : points({Kind::Nodes, {9}, {}}))
        EXPECT_FALSE(point.value.has_value());
    // With no correlated sequence, the study is the one step.
    const auto alone = historyOverSteps(state, {}, "loaded.png", {Kind::Nodes, {7}, {}},
                                        HistoryQuantity::U, {}, true);
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_EQ(alone[0].photograph, "loaded.png");
    EXPECT_NEAR(alone[0].value->value, 150.0 / 15, 1e-12);
}

} // namespace
} // namespace ai
