// Node creation and location, manual meshing, dragging and erasing through the handlers.
#include "shell/status_text.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace ai {
namespace {

using test::Harness;

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

TEST(NodeCreation, ClickOnFreeThenLoadedViewMakesOneLocatedNode)
{
    Harness h;
    h.controller.node();
    h.controller.picture1Pressed(300, 450);
    EXPECT_EQ(h.state().NodeCount, 1);
    expectAt(h.state().FreeNodes[1], 300, 450);
    EXPECT_FALSE(h.state().LoadNodes[1].isSet());
    EXPECT_EQ(h.state().NodeSums[1].count, 0.0);
    EXPECT_EQ(h.state().NodeSums[1].value, 0.0);
    EXPECT_EQ(h.controller.statusLine(), status::LocatePrompt);

    h.controller.picture2Pressed(320, 470);
    EXPECT_EQ(h.state().NodeCount, 1);
    expectAt(h.state().LoadNodes[1], 320, 470);
    EXPECT_EQ(h.controller.statusLine(), status::CreatePrompt);

    // A second node at the same free place is a distinct node; clicks outside the image
    // (even negative) are positions like any other.
    h.controller.picture1Pressed(300, 450);
    h.controller.picture2Pressed(-15, 99999);
    EXPECT_EQ(h.state().NodeCount, 2);
    expectAt(h.state().FreeNodes[2], 300, 450);
    expectAt(h.state().LoadNodes[2], -15, 99999);
    EXPECT_FALSE(h.state().FreeNodes[0].isSet()) << "slot 0 is never a node";
}

TEST(NodeCreation, ClickCoordinatesAreHeldAsTheirSinglePrecisionText)
{
    Harness h;
    h.controller.node();
    h.controller.picture1Pressed(1.0f / 3.0f, 123456.78f);
    EXPECT_EQ(h.state().FreeNodes[1].x, 0.3333333);
    EXPECT_EQ(h.state().FreeNodes[1].y, 123456.8);
}

TEST(NodeCreation, TheThousandFirstNodeIsRefusedWithAMessage)
{
    Harness h;
    h.controller.node();
    for (int i = 0; i < kMaxNodes; ++i) {
        h.controller.picture1Pressed(static_cast<float>(i), 0);
        h.controller.picture2Pressed(static_cast<float>(i), 1);
    }
    ASSERT_EQ(h.state().NodeCount, kMaxNodes);
    EXPECT_TRUE(h.messages.shown.empty());

    h.controller.picture1Pressed(5, 5);
    EXPECT_EQ(h.state().NodeCount, kMaxNodes);
    EXPECT_EQ(h.controller.statusLine(), status::CreatePrompt);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_NE(h.messages.shown[0].find("1000"), std::string::npos);
    expectAt(h.state().LoadNodes[kMaxNodes], 999, 1);
}

TEST(NodeCreation, AnAbandonedLocationWithdrawsTheNewestNode)
{
    // Every way of leaving the locate prompt removes the unlocated node, from the end only.
    const std::vector<std::pair<const char*, std::function<void(MainController&)>>> leaves = {
        {"stop", [](auto& c) { c.stopcmd(); }},
        {"node again", [](auto& c) { c.node(); }},
        {"manumesh", [](auto& c) { c.manumesh(); }},
        {"valider", [](auto& c) { c.command6Click(); }},
        {"effmesh", [](auto& c) { c.effmesh(); }},
        {"map closed", [](auto& c) { c.mapWindowClosed(); }},
        {"catch on the free view", [](auto& c) { c.picture1Pressed(100, 100); }},
    };
    for (const auto& [name, leave] : leaves) {
        SCOPED_TRACE(name);
        Harness h;
        addNode(h.controller, 100, 100, 110, 110);
        addNode(h.controller, 500, 500, 510, 510);
        h.controller.picture1Pressed(900, 900);
        ASSERT_EQ(h.state().NodeCount, 3);
        leave(h.controller);
        EXPECT_EQ(h.state().NodeCount, 2);
        EXPECT_FALSE(h.state().FreeNodes[3].isSet());
        EXPECT_EQ(h.state().PendingNode, 0);
        expectAt(h.state().FreeNodes[2], 500, 500);
        expectAt(h.state().LoadNodes[2], 510, 510);
    }
}

TEST(NodeCreation, TheWaitingNodeCannotBeCaughtAndIsNotDrawn)
{
    Harness h;
    addNode(h.controller, 100, 100, 110, 110);
    h.controller.picture1Pressed(2000, 2000);
    // A click on the new node's own spot finds nothing to catch and keeps the prompt.
    h.controller.picture1Pressed(2000, 2000);
    EXPECT_EQ(h.controller.statusLine(), status::LocatePrompt);
    EXPECT_EQ(h.state().NodeCount, 2);

    h.controller.formMoved();
    EXPECT_EQ(h.picture1.points.size(), 5u) << "only node 1's mark";
    EXPECT_EQ(h.picture2.points.size(), 5u);

    h.controller.picture2Pressed(2010, 2010);
    EXPECT_EQ(h.state().NodeCount, 2);
    expectAt(h.state().LoadNodes[2], 2010, 2010);
}

TEST(PickSquare, IsAnOpenSquareInSinglePrecisionAndTheHighestNumberWins)
{
    Harness h;
    addNode(h.controller, 350, 200, 0, 0);      // node 1: exactly 50 right of (300, 200)
    addNode(h.controller, 349.9f, 200, 0, 0);   // node 2: 49.9 right
    addNode(h.controller, 300, 249.95f, 0, 0);  // node 3: 49.95 below
    h.controller.command6Click();

    h.controller.picture1Pressed(300, 200);
    EXPECT_EQ(h.state().FreeDragNode, 3);
    h.controller.picture1Released();

    h.controller.picture1Pressed(300, 150); // node 3 is 99.95 away; node 2 at dy = 50
    EXPECT_EQ(h.state().FreeDragNode, 0);
    h.controller.picture1Pressed(300.05f, 151);
    EXPECT_EQ(h.state().FreeDragNode, 2);
    h.controller.picture1Released();

    // Node 1 lies on the open square's left edge, node 2 just outside it.
    h.controller.picture1Pressed(400, 200);
    EXPECT_EQ(h.state().FreeDragNode, 0);
    h.controller.picture1Pressed(399.5f, 200);
    EXPECT_EQ(h.state().FreeDragNode, 2);
}

TEST(ManualMeshing, ThreeDistinctPicksAddOneTriangleInPickOrder)
{
    Harness h;
    addNode(h.controller, 100, 100, 100, 100);
    addNode(h.controller, 1000, 100, 1000, 100);
    addNode(h.controller, 100, 1000, 100, 1000);
    addNode(h.controller, 140, 100, 140, 100); // node 4 near node 1

    h.controller.manumesh();
    h.controller.picture1Pressed(120, 100); // nodes 1 and 4 qualify: 4 wins
    EXPECT_EQ(h.state().CurrentElement, 1);
    h.controller.picture1Pressed(170, 100); // node 4 again: ignored
    EXPECT_EQ(h.controller.statusLine(), status::SecondPick);
    h.controller.picture1Pressed(1000, 100);
    h.controller.picture1Pressed(1000, 100); // already picked
    h.controller.picture1Pressed(170, 100);  // already picked
    EXPECT_EQ(h.controller.statusLine(), status::ThirdPick);
    EXPECT_EQ(h.state().ElementCount, 0);
    h.controller.picture1Pressed(100, 1000);
    EXPECT_EQ(h.state().ElementCount, 1);
    EXPECT_EQ(h.state().Elements[1].nodes, (std::array<int, 3>{4, 2, 3}));
    EXPECT_EQ(h.controller.statusLine(), status::FirstPick);

    // Under the third prompt, two qualifying nodes add exactly one triangle: the higher.
    h.controller.picture1Pressed(1000, 100);
    h.controller.picture1Pressed(100, 1000);
    h.controller.picture1Pressed(120, 100);
    EXPECT_EQ(h.state().ElementCount, 2);
    EXPECT_EQ(h.state().Elements[2].nodes, (std::array<int, 3>{2, 3, 4}));
}

TEST(ManualMeshing, AnUnfinishedTriangleIsNotCountedAndItsSlotIsReused)
{
    Harness h;
    addNode(h.controller, 100, 100, 100, 100);
    addNode(h.controller, 1000, 100, 1000, 100);
    addNode(h.controller, 100, 1000, 100, 1000);
    h.controller.manumesh();
    h.controller.picture1Pressed(100, 100);
    h.controller.picture1Pressed(1000, 100);
    h.controller.stopcmd();
    EXPECT_EQ(h.state().ElementCount, 0);
    h.controller.manumesh();
    h.controller.picture1Pressed(100, 1000);
    h.controller.picture1Pressed(1000, 100);
    h.controller.picture1Pressed(100, 100);
    EXPECT_EQ(h.state().ElementCount, 1);
    EXPECT_EQ(h.state().Elements[1].nodes, (std::array<int, 3>{3, 2, 1}));
}

TEST(ManualMeshing, EffderDuringThePicksNeverBringsTheDroppedTriangleBack)
{
    Harness h;
    addNode(h.controller, 100, 100, 100, 100);
    addNode(h.controller, 1000, 100, 1000, 100);
    addNode(h.controller, 100, 1000, 100, 1000);
    h.controller.manumesh();
    for (int t = 0; t < 2; ++t) {
        h.controller.picture1Pressed(100, 100);
        h.controller.picture1Pressed(1000, 100);
        h.controller.picture1Pressed(100, 1000);
    }
    ASSERT_EQ(h.state().ElementCount, 2);
    h.controller.picture1Pressed(1000, 100); // first pick of a third triangle
    h.controller.effder();
    h.controller.effder();
    h.controller.picture1Pressed(100, 1000);
    h.controller.picture1Pressed(100, 100);
    EXPECT_EQ(h.state().ElementCount, 1);
    EXPECT_EQ(h.state().Elements[1].nodes, (std::array<int, 3>{2, 3, 1}));
}

TEST(ManualMeshing, TheThousandFirstTriangleIsRefused)
{
    Harness h;
    addNode(h.controller, 100, 100, 100, 100);
    addNode(h.controller, 1000, 100, 1000, 100);
    addNode(h.controller, 100, 1000, 100, 1000);
    h.controller.manumesh();
    for (int t = 0; t < kMaxElements; ++t) {
        h.controller.picture1Pressed(100, 100);
        h.controller.picture1Pressed(1000, 100);
        h.controller.picture1Pressed(100, 1000);
    }
    ASSERT_EQ(h.state().ElementCount, kMaxElements);
    EXPECT_TRUE(h.messages.shown.empty());
    h.controller.picture1Pressed(100, 100);
    EXPECT_EQ(h.controller.statusLine(), status::FirstPick);
    EXPECT_EQ(h.state().ElementCount, kMaxElements);
    EXPECT_EQ(h.messages.shown.size(), 1u);
}

TEST(Dragging, MovesOnePositionOfTheCaughtNodeAndKeepsPositionsOutsideTheView)
{
    Harness h;
    addNode(h.controller, 100, 100, 110, 110);
    addNode(h.controller, 120, 100, 130, 110); // nodes 1 and 2 both under (110, 100)
    addNode(h.controller, 600, 300, 610, 310);
    h.controller.command6Click();

    h.controller.picture1Pressed(600, 300);
    h.controller.picture1Moved(660, 270);
    h.controller.picture1Moved(720, 240);
    h.controller.picture1Released();
    expectAt(h.state().FreeNodes[3], 720, 240);
    expectAt(h.state().LoadNodes[3], 610, 310);
    EXPECT_EQ(h.controller.statusLine(), status::NodeMoved);
    EXPECT_EQ(h.state().FreeDragNode, 0);

    // Moves with no node caught change nothing; a press without a move keeps the node.
    h.controller.picture2Moved(0, 0);
    h.controller.picture2Pressed(110, 110);
    EXPECT_EQ(h.state().LoadDragNode, 2);
    h.controller.picture2Released();
    expectAt(h.state().LoadNodes[2], 130, 110);
    expectAt(h.state().LoadNodes[1], 110, 110);

    h.controller.picture2Pressed(610, 310);
    h.controller.picture2Moved(-45, 80000);
    h.controller.picture2Released();
    expectAt(h.state().LoadNodes[3], -45, 80000);
    EXPECT_EQ(h.state().NodeCount, 3);
}

TEST(Dragging, ACatchOnTheLoadedViewEndsNodeCreation)
{
    Harness h;
    addNode(h.controller, 100, 100, 110, 110);
    ASSERT_EQ(h.controller.statusLine(), status::CreatePrompt);
    h.controller.picture2Pressed(110, 110);
    h.controller.picture2Moved(200, 200);
    h.controller.picture2Released();
    EXPECT_EQ(h.controller.statusLine(), status::NodeMoved);
    h.controller.picture1Pressed(100, 100);
    EXPECT_EQ(h.controller.statusLine(), status::Dragging);
    EXPECT_EQ(h.state().NodeCount, 1);
}

TEST(Erasing, EachCommandRemovesItsShareAndReloadsTheViews)
{
    Harness h;
    h.dialogs.answers = {"libre.png", "charge.png"};
    h.controller.imagelibre();
    h.controller.imgcharge();
    addNode(h.controller, 100, 100, 100, 100);
    addNode(h.controller, 1000, 100, 1000, 100);
    addNode(h.controller, 100, 1000, 100, 1000);
    h.controller.manumesh();
    for (int t = 0; t < 3; ++t) {
        h.controller.picture1Pressed(100, 100);
        h.controller.picture1Pressed(1000, 100);
        h.controller.picture1Pressed(100, 1000);
    }
    h.controller.stopcmd();

    h.controller.effder();
    h.controller.effder();
    EXPECT_EQ(h.state().ElementCount, 1);
    EXPECT_EQ(h.picture1.restores, 0) << "effder does not touch the views";
    EXPECT_EQ(h.controller.statusLine(), status::Waiting);
    EXPECT_TRUE(h.state().StopFlag);

    h.controller.effmesh();
    EXPECT_EQ(h.state().ElementCount, 0);
    EXPECT_EQ(h.state().Elements[1].first(), 0);
    EXPECT_EQ(h.state().NodeCount, 3);
    EXPECT_FALSE(h.state().StopFlag);
    EXPECT_EQ(h.picture1.picture, "libre.png");
    EXPECT_EQ(h.picture2.picture, "charge.png");
    EXPECT_EQ(h.picture1.restores, 1);
    EXPECT_EQ(h.controller.statusLine(), status::Erased);

    // The next redraw shows the nodes and no triangle.
    h.controller.formMoved();
    EXPECT_EQ(h.picture1.points.size(), 15u);
    EXPECT_TRUE(h.picture1.lines.empty());

    h.controller.eff();
    EXPECT_EQ(h.state().NodeCount, 0);
    for (int n = 0; n <= kMaxNodes; ++n) {
        EXPECT_FALSE(h.state().FreeNodes[static_cast<std::size_t>(n)].isSet());
        EXPECT_FALSE(h.state().LoadNodes[static_cast<std::size_t>(n)].isSet());
    }
    EXPECT_TRUE(h.picture1.points.empty());
    EXPECT_EQ(h.picture2.picture, "charge.png");

    // effder never takes the count below zero; the next triangle goes to slot 1.
    h.controller.effder();
    EXPECT_EQ(h.state().ElementCount, 0);
}

TEST(Erasing, EffOnAFreshStudyLeavesBlankViews)
{
    Harness h;
    h.controller.eff();
    EXPECT_EQ(h.state().NodeCount, 0);
    EXPECT_EQ(h.state().ElementCount, 0);
    EXPECT_EQ(h.picture1.picture, "");
    EXPECT_EQ(h.picture2.picture, "");
    EXPECT_EQ(h.controller.statusLine(), "Effacement effectué.");
}

TEST(ImageImport, RemembersOnlyPicturesThatLoadAndCancelChangesNothing)
{
    Harness h;
    h.picture1.readable = {"bon.jpg"};
    h.dialogs.answers = {"bon.jpg", "abime.jpg", std::nullopt};
    h.controller.imagelibre();
    h.controller.imagelibre();
    h.controller.imagelibre();
    EXPECT_EQ(h.state().FreeImageFile, "bon.jpg");
    EXPECT_EQ(h.picture1.picture, "bon.jpg");
    EXPECT_EQ(h.state().LoadImageFile, "");
    EXPECT_EQ(h.dialogs.titles,
              (std::vector<std::string>(3, "Récupérer un fichier image")));
    EXPECT_EQ(h.controller.statusLine(), status::Waiting);
}

} // namespace
} // namespace ai
