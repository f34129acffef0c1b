// The status line as the interaction mode: commands, clicks, panels and the redraw rule.
#include "shell/status_text.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <functional>

namespace ai {
namespace {

using test::Harness;
using Step = std::function<void(MainController&)>;

// Three located nodes far apart: free (100, 100), (500, 100), (900, 900), loaded +10.
void makeThreeNodes(MainController& c)
{
    c.node();
    for (auto [x, y] : {std::pair{100.f, 100.f}, {500.f, 100.f}, {900.f, 900.f}}) {
        c.picture1Pressed(x, y);
        c.picture2Pressed(x + 10, y + 10);
    }
    c.command6Click();
}

// Ways to reach each mode from "Attente de commandes" over makeThreeNodes.
const std::map<std::string_view, Step> reach = {
    {status::Waiting, [](auto&) {}},
    {status::CreatePrompt, [](auto& c) { c.node(); }},
    {status::LocatePrompt, [](auto& c) { c.node(), c.picture1Pressed(3000, 3000); }},
    {status::FirstPick, [](auto& c) { c.manumesh(); }},
    {status::SecondPick, [](auto& c) { c.manumesh(), c.picture1Pressed(100, 100); }},
    {status::ThirdPick,
     [](auto& c) { c.manumesh(), c.picture1Pressed(100, 100), c.picture1Pressed(500, 100); }},
    {status::NodeMoved, [](auto& c) { c.picture1Pressed(100, 100), c.picture1Released(); }},
    {status::Computed, [](auto& c) { c.mapWindowClosed(); }},
    {status::Erased, [](auto& c) { c.effmesh(); }},
};

TEST(CommandShell, StateMachine)
{
    struct Row {
        std::string_view from;
        Step event;
        std::string_view to;
    };
    const std::vector<Row> table = {
        {status::ThirdPick, [](auto& c) { c.node(); }, status::CreatePrompt},
        {status::CreatePrompt, [](auto& c) { c.manumesh(); }, status::FirstPick},
        {status::SecondPick, [](auto& c) { c.stopcmd(); }, status::Waiting},
        {status::CreatePrompt, [](auto& c) { c.command6Click(); }, status::Waiting},
        {status::FirstPick, [](auto& c) { c.command7Click(); }, status::Waiting},
        {status::CreatePrompt, [](auto& c) { c.eff(); }, status::Erased},
        {status::SecondPick, [](auto& c) { c.effder(); }, status::SecondPick},
        {status::FirstPick, [](auto& c) { c.mapWindowClosed(); }, status::Computed},
        {status::Computed, [](auto& c) { c.formMoved(); }, status::Waiting},
        {status::Computed, [](auto& c) { c.frame3Moved(); }, status::Waiting},
        {status::Computed, [](auto& c) { c.picture2Moved(1, 1); }, status::Waiting},
        {status::Erased, [](auto& c) { c.formMoved(); }, status::Erased},
        {status::CreatePrompt, [](auto& c) { c.picture1Pressed(2000, 2000); }, status::LocatePrompt},
        {status::LocatePrompt, [](auto& c) { c.picture2Pressed(2000, 2000); }, status::CreatePrompt},
        {status::FirstPick, [](auto& c) { c.picture1Pressed(110, 90); }, status::SecondPick},
        {status::FirstPick, [](auto& c) { c.picture1Pressed(300, 300); }, status::FirstPick},
        {status::SecondPick, [](auto& c) { c.picture1Pressed(100, 100); }, status::SecondPick},
        {status::SecondPick, [](auto& c) { c.picture1Pressed(900, 900); }, status::ThirdPick},
        {status::ThirdPick, [](auto& c) { c.picture1Pressed(900, 900); }, status::FirstPick},
        {status::Waiting, [](auto& c) { c.picture1Pressed(100, 100); }, status::Dragging},
        {status::NodeMoved, [](auto& c) { c.picture1Pressed(500, 100); }, status::Dragging},
        {status::LocatePrompt, [](auto& c) { c.picture1Pressed(100, 100); }, status::Dragging},
        {status::CreatePrompt, [](auto& c) { c.picture2Pressed(110, 110); }, status::Dragging},
        {status::SecondPick, [](auto& c) { c.picture2Pressed(110, 110); }, status::Dragging},
        {status::Computed, [](auto& c) { c.picture1Pressed(5000, 5000); }, status::Computed},
        {status::FirstPick, [](auto& c) { c.picture2Pressed(5000, 5000); }, status::FirstPick},
        {status::CreatePrompt, [](auto& c) { c.picture1Released(); }, status::CreatePrompt},
        {status::Waiting, [](auto& c) { c.picture2Pressed(510, 110), c.picture2Released(); },
         status::NodeMoved},
        {status::Waiting, [](auto& c) { c.stopcmd(), c.picture1Pressed(5000, 5000); },
         status::Stopped},
        {status::CreatePrompt, [](auto& c) { c.label7Moved(), c.label5Moved(); },
         status::CreatePrompt},
    };
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        Harness h;
        makeThreeNodes(h.controller);
        reach.at(table[i].from)(h.controller);
        ASSERT_EQ(h.controller.statusLine(), table[i].from);
        table[i].event(h.controller);
        EXPECT_EQ(h.controller.statusLine(), table[i].to);
        EXPECT_EQ(h.window.status, table[i].to);
    }
}

TEST(CommandShell, PanelsAndTheRestingRedraw)
{
    Harness h;
    EXPECT_EQ(h.controller.poissonText(), "0,47");
    // At rest pointer movements draw nothing at all.
    h.controller.formMoved();
    h.controller.picture1Moved(10, 10);
    EXPECT_EQ(h.picture1.restores + h.picture2.restores, 0);

    // "+" reveals "Matériau", which reveals the material panel; it stays while at rest.
    h.controller.label7Moved();
    h.controller.label5Moved();
    h.controller.formMoved();
    EXPECT_TRUE(h.window.panels[Panel::Label5] && h.window.panels[Panel::Frame1]);

    // A redraw that draws hides both again, and keeps a mode's text.
    h.controller.node();
    h.controller.formMoved();
    EXPECT_FALSE(h.window.panels[Panel::Label5] || h.window.panels[Panel::Frame1]);
    EXPECT_EQ(h.controller.statusLine(), status::CreatePrompt);

    h.controller.command7Click();
    h.controller.command6Click();
    EXPECT_FALSE(h.controller.isVisible(Panel::Frame4) || h.controller.isVisible(Panel::Frame3));
}

TEST(CommandShell, StopTurnsFreeViewClicksIntoDragsUntilACommandClearsIt)
{
    Harness h;
    makeThreeNodes(h.controller);
    h.controller.stopcmd();
    h.controller.node(); // clears the flag: the click creates
    h.controller.picture1Pressed(2000, 2000);
    EXPECT_EQ(h.state().NodeCount, 4);

    h.controller.stopcmd();
    h.controller.picture1Pressed(100, 100); // no pick mode under Stop: a catch
    EXPECT_EQ(h.controller.statusLine(), status::Dragging);
    EXPECT_EQ(h.state().FreeDragNode, 1);
    h.controller.picture1Released();

    // Manual meshing clears the flag too, so that picks work after a Stop.
    h.controller.manumesh();
    h.controller.picture1Pressed(100, 100);
    EXPECT_EQ(h.controller.statusLine(), status::SecondPick);
    for (const Step& clear : {Step([](auto& c) { c.eff(); }), Step([](auto& c) { c.effmesh(); })}) {
        h.controller.stopcmd();
        clear(h.controller);
        EXPECT_FALSE(h.state().StopFlag);
    }
}

} // namespace
} // namespace ai
