// The status line as the interaction mode: commands, clicks and the redraw rule.
#include "shell/status_text.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace ai {
namespace {

using test::Harness;

// Puts three nodes far apart on both views (the third at (900, 900) free, (910, 910) loaded).
void makeThreeNodes(MainController& c)
{
    c.node();
    c.picture1Pressed(100, 100);
    c.picture2Pressed(110, 110);
    c.picture1Pressed(500, 100);
    c.picture2Pressed(510, 110);
    c.picture1Pressed(900, 900);
    c.picture2Pressed(910, 910);
    c.stopcmd();
    c.node(); // clears the Stop again
    c.command6Click();
}

struct Transition {
    const char* name;
    std::string_view from;
    std::function<void(MainController&)> event;
    std::string_view to;
};

void enter(MainController& c, std::string_view mode)
{
    if (mode == status::Waiting)
        c.command6Click();
    else if (mode == status::CreatePrompt)
        c.node();
    else if (mode == status::LocatePrompt) {
        c.node();
        c.picture1Pressed(3000, 3000);
    } else if (mode == status::FirstPick)
        c.manumesh();
    else if (mode == status::SecondPick) {
        c.manumesh();
        c.picture1Pressed(100, 100);
    } else if (mode == status::ThirdPick) {
        c.manumesh();
        c.picture1Pressed(100, 100);
        c.picture1Pressed(500, 100);
    } else if (mode == status::NodeMoved) {
        c.command6Click();
        c.picture1Pressed(100, 100);
        c.picture1Released();
    } else if (mode == status::Computed)
        c.mapWindowClosed();
    else if (mode == status::Erased)
        c.effmesh();
    ASSERT_EQ(c.statusLine(), mode);
}

TEST(CommandShell, StateMachine)
{
    const std::vector<Transition> table = {
        {"node from any", status::ThirdPick, [](auto& c) { c.node(); }, status::CreatePrompt},
        {"manumesh from any", status::CreatePrompt, [](auto& c) { c.manumesh(); },
         status::FirstPick},
        {"stop", status::SecondPick, [](auto& c) { c.stopcmd(); }, status::Waiting},
        {"valider frame3", status::CreatePrompt, [](auto& c) { c.command6Click(); },
         status::Waiting},
        {"valider frame4", status::FirstPick, [](auto& c) { c.command7Click(); }, status::Waiting},
        {"eff", status::CreatePrompt, [](auto& c) { c.eff(); }, status::Erased},
        {"effmesh", status::NodeMoved, [](auto& c) { c.effmesh(); }, status::Erased},
        {"effder keeps", status::SecondPick, [](auto& c) { c.effder(); }, status::SecondPick},
        {"map closed", status::FirstPick, [](auto& c) { c.mapWindowClosed(); },
         status::Computed},
        {"redraw ends computed", status::Computed, [](auto& c) { c.formMoved(); },
         status::Waiting},
        {"frame3 move redraws too", status::Computed, [](auto& c) { c.frame3Moved(); },
         status::Waiting},
        {"view move redraws too", status::Computed, [](auto& c) { c.picture2Moved(1, 1); },
         status::Waiting},
        {"redraw keeps erased", status::Erased, [](auto& c) { c.formMoved(); }, status::Erased},
        {"create", status::CreatePrompt, [](auto& c) { c.picture1Pressed(2000, 2000); },
         status::LocatePrompt},
        {"locate", status::LocatePrompt, [](auto& c) { c.picture2Pressed(2000, 2000); },
         status::CreatePrompt},
        {"first pick hit", status::FirstPick, [](auto& c) { c.picture1Pressed(110, 90); },
         status::SecondPick},
        {"first pick miss", status::FirstPick, [](auto& c) { c.picture1Pressed(300, 300); },
         status::FirstPick},
        {"second pick same node", status::SecondPick, [](auto& c) { c.picture1Pressed(100, 100); },
         status::SecondPick},
        {"second pick other node", status::SecondPick,
         [](auto& c) { c.picture1Pressed(900, 900); }, status::ThirdPick},
        {"third pick", status::ThirdPick, [](auto& c) { c.picture1Pressed(900, 900); },
         status::FirstPick},
        {"free catch when waiting", status::Waiting, [](auto& c) { c.picture1Pressed(100, 100); },
         status::Dragging},
        {"free catch after move", status::NodeMoved, [](auto& c) { c.picture1Pressed(500, 100); },
         status::Dragging},
        {"free catch under locate prompt", status::LocatePrompt,
         [](auto& c) { c.picture1Pressed(100, 100); }, status::Dragging},
        {"loaded catch under create prompt", status::CreatePrompt,
         [](auto& c) { c.picture2Pressed(110, 110); }, status::Dragging},
        {"loaded catch under a pick prompt", status::SecondPick,
         [](auto& c) { c.picture2Pressed(110, 110); }, status::Dragging},
        {"free miss keeps", status::Computed, [](auto& c) { c.picture1Pressed(5000, 5000); },
         status::Computed},
        {"loaded miss keeps", status::FirstPick, [](auto& c) { c.picture2Pressed(5000, 5000); },
         status::FirstPick},
        {"release without catch keeps", status::CreatePrompt, [](auto& c) { c.picture1Released(); },
         status::CreatePrompt},
        {"release after catch", status::Waiting,
         [](auto& c) {
             c.picture2Pressed(510, 110);
             c.picture2Released();
         },
         status::NodeMoved},
        {"stopped click on free view", status::Waiting,
         [](auto& c) {
             c.stopcmd();
             c.picture1Pressed(5000, 5000);
         },
         status::Stopped},
        {"hover keeps", status::CreatePrompt,
         [](auto& c) {
             c.label7Moved();
             c.label5Moved();
         },
         status::CreatePrompt},
    };
    for (const auto& t : table) {
        SCOPED_TRACE(t.name);
        Harness h;
        makeThreeNodes(h.controller);
        enter(h.controller, t.from);
        t.event(h.controller);
        EXPECT_EQ(h.controller.statusLine(), t.to);
        EXPECT_EQ(h.window.status, t.to) << "the window shows what the core decided";
    }
}

TEST(CommandShell, StartsAtRestAndRestingMovesDrawNothing)
{
    Harness h;
    EXPECT_EQ(h.controller.statusLine(), "Attente de commandes");
    EXPECT_EQ(h.controller.youngText(), "1");
    EXPECT_EQ(h.controller.poissonText(), "0,47");
    for (auto panel : {Panel::Frame1, Panel::Label5, Panel::Frame3, Panel::Frame4})
        EXPECT_FALSE(h.controller.isVisible(panel));
    EXPECT_EQ(h.state().NodeCount, 0);
    EXPECT_EQ(h.state().ElementCount, 0);
    EXPECT_FALSE(h.state().StopFlag);

    h.controller.formMoved();
    h.controller.frame3Moved();
    h.controller.picture1Moved(10, 10);
    h.controller.picture2Moved(10, 10);
    EXPECT_EQ(h.picture1.restores + h.picture2.restores, 0);
    EXPECT_EQ(h.controller.statusLine(), "Attente de commandes");
}

TEST(CommandShell, MaterialPanelShowsOnHoverAndHidesAtTheNextDrawingRedraw)
{
    Harness h;
    h.controller.label7Moved();
    EXPECT_TRUE(h.controller.isVisible(Panel::Label5));
    h.controller.label5Moved();
    EXPECT_TRUE(h.controller.isVisible(Panel::Frame1));
    EXPECT_TRUE(h.window.panels[Panel::Frame1]);

    h.controller.formMoved(); // resting: the panel stays
    EXPECT_TRUE(h.controller.isVisible(Panel::Frame1));

    h.controller.node();
    h.controller.formMoved();
    EXPECT_FALSE(h.controller.isVisible(Panel::Frame1));
    EXPECT_FALSE(h.controller.isVisible(Panel::Label5));
    EXPECT_FALSE(h.window.panels[Panel::Frame1]);
    EXPECT_EQ(h.controller.statusLine(), status::CreatePrompt) << "not a transient text";
}

TEST(CommandShell, ValiderButtonsHideTheirPanelsAndKeepTheStudy)
{
    Harness h;
    makeThreeNodes(h.controller);
    h.controller.manumesh();
    h.controller.command7Click();
    EXPECT_FALSE(h.controller.isVisible(Panel::Frame4));
    EXPECT_EQ(h.window.panels[Panel::Frame4], false);
    h.controller.command6Click();
    EXPECT_FALSE(h.controller.isVisible(Panel::Frame3));
    EXPECT_EQ(h.state().NodeCount, 3);
}

TEST(CommandShell, StopTurnsFreeViewClicksIntoDragsUntilACommandClearsIt)
{
    Harness h;
    makeThreeNodes(h.controller);
    h.controller.stopcmd();
    EXPECT_TRUE(h.state().StopFlag);

    // The status is read after the Stop step: no node is created, a node under the
    // click is caught instead.
    h.controller.picture1Pressed(100, 100);
    EXPECT_EQ(h.controller.statusLine(), status::Dragging);
    EXPECT_EQ(h.state().FreeDragNode, 1);
    h.controller.picture1Released();
    EXPECT_EQ(h.state().NodeCount, 3);

    // Manual meshing clears the flag, so that picks work after a Stop.
    h.controller.manumesh();
    EXPECT_FALSE(h.state().StopFlag);
    h.controller.picture1Pressed(100, 100);
    EXPECT_EQ(h.controller.statusLine(), status::SecondPick);

    h.controller.stopcmd();
    h.controller.eff();
    EXPECT_FALSE(h.state().StopFlag);
    h.controller.stopcmd();
    h.controller.effmesh();
    EXPECT_FALSE(h.state().StopFlag);
}

} // namespace
} // namespace ai
