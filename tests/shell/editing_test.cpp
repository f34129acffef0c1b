// Node creation and location, manual meshing, dragging, erasing and importing by the handlers.
#include "shell/status_text.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <functional>

namespace ai {
namespace {

using test::Harness;
using Corners = std::array<int, 3>;

void expectAt(const Position& p, double x, double y)
{
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
}

void addNode(MainController& c, float x, float y, float lx, float ly)
{
    c.node();
    c.picture1Pressed(x, y);
    c.picture2Pressed(lx, ly);
}

// Nodes 1 (100, 100), 2 (1000, 100), 3 (100, 1000), the same on both views.
void addTriangleCorners(MainController& c)
{
    for (auto [x, y] : {std::pair{100.f, 100.f}, {1000.f, 100.f}, {100.f, 1000.f}})
        addNode(c, x, y, x, y);
}

void pick(MainController& c, std::initializer_list<std::pair<float, float>> clicks)
{
    for (auto [x, y] : clicks)
        c.picture1Pressed(x, y);
}

TEST(NodeCreation, FreeThenLoadedClickMakesALocatedNodeWhereverTheClicksFall)
{
    Harness h;
    h.controller.node();
    h.controller.picture1Pressed(300, 450);
    EXPECT_EQ(std::tuple(h.state().NodeCount, h.state().LoadNodes[1].isSet(),
                         h.state().NodeSums[1].count, h.controller.statusLine()),
              std::tuple(1, false, 0.0, status::LocatePrompt));
    h.controller.picture2Pressed(320, 470);
    expectAt(h.state().FreeNodes[1], 300, 450);
    expectAt(h.state().LoadNodes[1], 320, 470);

    // Same free place again: a distinct node. Positions hold their single-precision text.
    h.controller.picture1Pressed(300, 450);
    h.controller.picture2Pressed(1.0f / 3.0f, 123456.78f);
    EXPECT_EQ(h.state().NodeCount, 2);
    expectAt(h.state().LoadNodes[2], 0.3333333, 123456.8);
}

TEST(NodeCreation, LeavingTheLocatePromptWithdrawsTheWaitingNodeWhichIsNeitherDrawnNorCaught)
{
    const std::vector<std::function<void(MainController&)>> leaves = {
        [](auto& c) { c.stopcmd(); },         [](auto& c) { c.node(); },
        [](auto& c) { c.manumesh(); },        [](auto& c) { c.command6Click(); },
        [](auto& c) { c.effmesh(); },         [](auto& c) { c.mapWindowClosed(); },
        [](auto& c) { c.picture1Pressed(100, 100); }};
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        SCOPED_TRACE(i);
        Harness h;
        addNode(h.controller, 100, 100, 110, 110);
        addNode(h.controller, 500, 500, 510, 510);
        h.controller.picture1Pressed(900, 900);
        h.controller.picture1Pressed(900, 900); // the waiting node cannot be caught
        h.controller.formMoved();
        EXPECT_EQ(
            std::tuple(h.picture1.points.size(), h.picture2.points.size(), h.state().NodeCount),
            std::tuple(10u, 10u, 3));
        leaves[i](h.controller);
        EXPECT_EQ(std::tuple(h.state().NodeCount, h.state().FreeNodes[3].isSet()),
                  std::tuple(2, false));
        expectAt(h.state().LoadNodes[2], 510, 510);
    }
}

TEST(PickSquare, IsAnOpenSquareInSinglePrecisionAndTheHighestNumberWins)
{
    Harness h;
    addNode(h.controller, 350, 200, 0, 0);     // exactly 50 right of (300, 200)
    addNode(h.controller, 349.9f, 200, 0, 0);  // 49.9 right
    addNode(h.controller, 300, 249.95f, 0, 0); // 49.95 below
    h.controller.command6Click();
    const auto caught = [&](float x, float y) {
        h.controller.picture1Pressed(x, y);
        const int node = h.state().FreeDragNode;
        h.controller.picture1Released();
        return node;
    };
    EXPECT_EQ(caught(300, 200), 3);
    EXPECT_EQ(caught(300, 150), 0);
    EXPECT_EQ(caught(300.05f, 151), 2);
    EXPECT_EQ(caught(400, 200), 0);
    EXPECT_EQ(caught(399.5f, 200), 2);
    // A zoomed view keeps the square's size on the screen: 50 units divided by the zoom.
    h.controller.setViewZoom(4);
    EXPECT_EQ(caught(338, 200), 2);
    EXPECT_EQ(caught(337, 200), 0);
    h.controller.setViewZoom(0.125);
    EXPECT_EQ(caught(749, 200), 2);
    EXPECT_EQ(caught(750, 200), 0);
}

TEST(ManualMeshing, ThreeDistinctPicksAddOneTriangleInPickOrder)
{
    Harness h;
    addTriangleCorners(h.controller);
    addNode(h.controller, 140, 100, 140, 100); // node 4 near node 1
    h.controller.manumesh();
    pick(h.controller, {{120, 100}, {170, 100}, {1000, 100}, {1000, 100}, {170, 100}});
    EXPECT_EQ(
        std::tuple(h.state().CurrentElement, h.controller.statusLine(), h.state().ElementCount),
        std::tuple(1, status::ThirdPick, 0));
    pick(h.controller, {{100, 1000}});
    EXPECT_EQ(std::tuple(h.state().Elements[1].nodes, h.controller.statusLine()),
              std::tuple(Corners{4, 2, 3}, status::FirstPick));

    // Two qualifying nodes under the third prompt add one triangle with the higher one.
    pick(h.controller, {{1000, 100}, {100, 1000}, {120, 100}});
    EXPECT_EQ(std::tuple(h.state().ElementCount, h.state().Elements[2].nodes),
              std::tuple(2, Corners{2, 3, 4}));

    // A triangle left after two picks is not counted; the next one takes its slot.
    pick(h.controller, {{100, 100}, {1000, 100}});
    h.controller.stopcmd();
    h.controller.manumesh();
    pick(h.controller, {{100, 1000}, {1000, 100}, {100, 100}});
    EXPECT_EQ(std::tuple(h.state().ElementCount, h.state().Elements[3].nodes),
              std::tuple(3, Corners{3, 2, 4}));
}

TEST(ManualMeshing, EffderDuringThePicksNeverBringsTheDroppedTriangleBack)
{
    Harness h;
    addTriangleCorners(h.controller);
    h.controller.manumesh();
    pick(h.controller, {{100, 100}, {1000, 100}, {100, 1000}, {100, 100}, {1000, 100}, {100, 1000}});
    pick(h.controller, {{1000, 100}});
    h.controller.effder();
    h.controller.effder();
    pick(h.controller, {{100, 1000}, {100, 100}});
    EXPECT_EQ(std::tuple(h.state().ElementCount, h.state().Elements[1].nodes),
              std::tuple(1, Corners{2, 3, 1}));
}

// Full tables refuse the next node and the next triangle, each with one message.
TEST(Tables, TheThousandFirstNodeAndTriangleAreRefusedWithAMessage)
{
    Harness h;
    h.controller.node();
    for (int i = 0; i < kMaxNodes; ++i)
        h.controller.picture1Pressed(float(i % 3 * 900), 0), h.controller.picture2Pressed(0, 1);
    h.controller.picture1Pressed(5, 5);
    EXPECT_EQ(std::tuple(h.state().NodeCount, h.controller.statusLine(), h.messages.shown.size()),
              std::tuple(kMaxNodes, status::CreatePrompt, 1u));
    EXPECT_NE(h.messages.shown.at(0).find("1000"), std::string::npos);

    h.controller.manumesh();
    for (int t = 0; t < kMaxElements; ++t)
        pick(h.controller, {{0, 0}, {900, 0}, {1800, 0}});
    pick(h.controller, {{0, 0}});
    EXPECT_EQ(std::tuple(h.controller.statusLine(), h.state().ElementCount, h.messages.shown.size()),
              std::tuple(status::FirstPick, kMaxElements, 2u));
}

TEST(Dragging, MovesOnePositionOfTheCaughtNodeEvenOutsideTheView)
{
    Harness h;
    addNode(h.controller, 100, 100, 110, 110);
    addNode(h.controller, 120, 100, 130, 110);
    addNode(h.controller, 600, 300, 610, 310);
    h.controller.command6Click();

    h.controller.picture1Pressed(600, 300);
    h.controller.picture1Moved(660, 270);
    h.controller.picture1Moved(720, 240);
    h.controller.picture1Released();
    expectAt(h.state().FreeNodes[3], 720, 240);
    expectAt(h.state().LoadNodes[3], 610, 310);
    EXPECT_EQ(h.controller.statusLine(), status::NodeMoved);

    // No node caught: moves change nothing. Two nodes under the press: the higher one.
    h.controller.picture2Moved(0, 0);
    h.controller.picture2Pressed(110, 110);
    EXPECT_EQ(h.state().LoadDragNode, 2);
    h.controller.picture2Moved(-45, 80000);
    h.controller.picture2Released();
    expectAt(h.state().LoadNodes[2], -45, 80000);
    expectAt(h.state().LoadNodes[1], 110, 110);
}

TEST(Erasing, EachCommandRemovesItsShareAndReloadsTheViews)
{
    Harness h;
    h.dialogs.answers = {"libre.png", "charge.png"};
    h.controller.imagelibre();
    h.controller.imgcharge();
    addTriangleCorners(h.controller);
    h.controller.manumesh();
    for (int t = 0; t < 3; ++t)
        pick(h.controller, {{100, 100}, {1000, 100}, {100, 1000}});
    h.controller.stopcmd();

    h.controller.effder();
    h.controller.effder();
    EXPECT_EQ(std::tuple(h.state().ElementCount, h.picture1.restores, h.state().StopFlag),
              std::tuple(1, 0, true));

    h.controller.effmesh();
    EXPECT_EQ(std::tuple(h.state().ElementCount, h.state().Elements[1].first(), h.state().NodeCount,
                         h.picture1.picture, h.picture2.picture),
              std::tuple(0, 0, 3, "libre.png", "charge.png"));
    h.controller.formMoved();
    EXPECT_EQ(std::tuple(h.picture1.points.size(), h.picture1.lines.size()), std::tuple(15u, 0u));

    h.controller.eff();
    EXPECT_EQ(std::tuple(h.state().NodeCount, h.picture1.points.size()), std::tuple(0, 0u));
    for (std::size_t n = 0; n <= kMaxNodes; ++n)
        EXPECT_FALSE(h.state().FreeNodes[n].isSet() || h.state().LoadNodes[n].isSet());
    h.controller.effder();
    EXPECT_EQ(h.state().ElementCount, 0);
}

TEST(ImageImport, RemembersOnlyPicturesThatLoadSaysWhyOthersDidNotAndCancelChangesNothing)
{
    Harness h;
    h.controller.eff(); // before any import the views reload blank
    EXPECT_EQ(h.picture1.picture, "");
    h.picture1.readable = {"bon.jpg"};
    h.dialogs.answers = {"bon.jpg", "abime.jpg", std::nullopt};
    for (int i = 0; i < 3; ++i)
        h.controller.imagelibre();
    EXPECT_EQ(std::tuple(h.state().FreeImageFile, h.picture1.picture, h.state().LoadImageFile),
              std::tuple("bon.jpg", "bon.jpg", ""));
    EXPECT_EQ(h.messages.shown, std::vector<std::string>{"illisible : abime.jpg"});
    EXPECT_EQ(h.dialogs.titles, std::vector<std::string>(3, "Récupérer un fichier image"));
}

} // namespace
} // namespace ai
