// The commands and scroll bars of the automatic mesher and the structured grid.
#include "shell/status_text.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace ai {
namespace {

using test::Harness;

void makeNode(MainController& c, float x, float y)
{
    c.node();
    c.picture1Pressed(x, y);
    c.picture2Pressed(x + 5, y + 5);
}

void makeTriangleOfNodes(MainController& c)
{
    makeNode(c, 1000, 1000);
    makeNode(c, 1100, 1000);
    makeNode(c, 1000, 1100);
    c.stopcmd();
}

TEST(MeshCommands, MeshShowsItsPanelAndMeshesWithoutRedrawing)
{
    Harness h;
    auto& c = h.controller;
    makeTriangleOfNodes(c);
    c.automesh();
    c.stopcmd();
    const int restores = h.picture1.restores;

    c.mesh();
    EXPECT_FALSE(c.state().StopFlag);
    EXPECT_TRUE(h.window.panels[Panel::Frame4]);
    EXPECT_FALSE(h.window.panels[Panel::Frame3]);
    EXPECT_EQ(c.state().ElementCount, 6);
    EXPECT_EQ(c.statusLine(), status::Waiting);
    EXPECT_EQ(h.picture1.restores, restores);

    // D lowered below the nodes' spacing, by the user: the mesh goes and the views show it.
    c.barChanged(Bar::HScroll6, 90);
    EXPECT_EQ(c.state().ElementCount, 0);
    EXPECT_EQ(h.picture1.restores, restores + 1);
    EXPECT_TRUE(h.picture1.lines.empty());
    EXPECT_EQ(c.statusLine(), status::Waiting);
    c.barChanged(Bar::HScroll6, 150);
    EXPECT_EQ(c.state().ElementCount, 6);
    EXPECT_EQ(h.picture1.lines.size(), 18u);
}

TEST(MeshCommands, NeitherMesherBuildsOverANodeWaitingForItsLocation)
{
    Harness h;
    auto& c = h.controller;
    makeTriangleOfNodes(c);
    c.automesh();
    c.stopcmd();
    c.node();
    c.picture1Pressed(1050, 1050);
    const auto status = c.statusLine();
    ASSERT_EQ(c.state().PendingNode, 4);

    c.mesh();
    c.barChanged(Bar::HScroll6, 1000);
    c.automesh();
    EXPECT_EQ(c.barValue(Bar::HScroll6), 1000);
    EXPECT_EQ(c.state().ElementCount, 0);
    EXPECT_EQ(c.state().PendingNode, 4);
    EXPECT_EQ(c.statusLine(), status);
    EXPECT_TRUE(h.window.panels[Panel::Frame3]);
    EXPECT_FALSE(h.window.panels[Panel::Frame4]);

    // A grid bar leaves the prompt first: the waiting node goes, the grid follows node 3.
    c.barChanged(Bar::HScroll2, 170);
    EXPECT_EQ(c.state().PendingNode, 0);
    EXPECT_EQ(c.state().NodeCount, 3 + 4);
    EXPECT_EQ(c.state().FreeNodes[4].x, 0.0);
    EXPECT_TRUE(c.state().LoadNodes[7].isSet());
    EXPECT_EQ(c.statusLine(), status::Waiting);
}

TEST(MeshCommands, AutomeshSetsTheNodeCountBarsOnlyWhenTheyChange)
{
    Harness h;
    auto& c = h.controller;
    makeTriangleOfNodes(c);
    c.automesh();
    EXPECT_FALSE(c.state().StopFlag);
    EXPECT_TRUE(h.window.panels[Panel::Frame3]);
    EXPECT_FALSE(h.window.panels[Panel::Frame4]);
    EXPECT_EQ(c.state().NodeCount, 3) << "both bars at 2 already: no grid yet";
    EXPECT_TRUE(h.window.bars.empty());
    EXPECT_EQ(h.picture1.restores, 0);

    c.barChanged(Bar::HScroll1, 5);
    c.barChanged(Bar::VScroll1, 3);
    c.command6Click();
    ASSERT_EQ(c.state().NodeCount, 3 + 15);

    // Opened again: the first grid is now part of the base; the new grid is made twice.
    c.automesh();
    EXPECT_EQ(c.state().GridBaseNodeCount, 18);
    EXPECT_EQ(h.window.bars[Bar::HScroll1], 2);
    EXPECT_EQ(h.window.bars[Bar::VScroll1], 2);
    EXPECT_EQ(c.state().NodeCount, 18 + 4);
    EXPECT_EQ(c.state().ElementCount, 16 + 2);
    EXPECT_EQ(c.state().Elements[17].nodes, (std::array<int, 3>{19, 20, 21}));
    EXPECT_EQ(c.statusLine(), status::Waiting);
}

TEST(MeshCommands, GridBarsKeepOneGridAfterTheHandMadeNodes)
{
    Harness h;
    auto& c = h.controller;
    makeTriangleOfNodes(c);
    c.manumesh();
    c.picture1Pressed(1000, 1000);
    c.picture1Pressed(1100, 1000);
    c.picture1Pressed(1000, 1100);
    c.automesh();

    c.barChanged(Bar::HScroll2, 170);
    c.barChanged(Bar::HScroll3, 1015);
    for (int columns : {9, 3, 12, 2})
        c.barChanged(Bar::HScroll1, columns);
    const auto& s = c.state();
    EXPECT_EQ(s.NodeCount, 7);
    EXPECT_EQ(s.ElementCount, 3);
    EXPECT_EQ(s.FreeNodes[1].x, 1000.0);
    EXPECT_EQ(s.Elements[1].nodes, (std::array<int, 3>{1, 2, 3}));
    EXPECT_EQ(s.Elements[2].nodes, (std::array<int, 3>{4, 5, 6}));
    EXPECT_EQ(s.FreeNodes[6].x, 170.0);
    EXPECT_EQ(s.LoadNodes[6].x, 185.0);

    // The same value again is no change; a value out of range is brought back into it.
    const int restores = h.picture1.restores;
    c.barChanged(Bar::HScroll1, 2);
    c.barChanged(Bar::HScroll1, 1);
    EXPECT_EQ(h.picture1.restores, restores);
    EXPECT_EQ(h.window.bars[Bar::HScroll1], 2);
    EXPECT_EQ(c.barValue(Bar::HScroll1), 2);
}

TEST(MeshCommands, AGridTooLargeForTheTablesIsRefusedWithAMessage)
{
    Harness h;
    auto& c = h.controller;
    makeTriangleOfNodes(c);
    c.automesh();
    c.barChanged(Bar::HScroll1, 23);
    c.barChanged(Bar::VScroll1, 23);
    ASSERT_EQ(c.state().NodeCount, 3 + 529);
    ASSERT_TRUE(h.messages.shown.empty());

    c.barChanged(Bar::VScroll1, 24);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0],
              "La structure maillée de 23 x 24 noeuds n'a pas été créée : elle compterait 552 "
              "noeuds et 1012 éléments, alors que l'étude est limitée à 1000 noeuds et 1000 "
              "éléments. Avec le maillage existant, la grille peut compter au plus 997 noeuds "
              "et 1000 éléments.");
    EXPECT_EQ(c.state().NodeCount, 3);
    EXPECT_TRUE(h.picture1.lines.empty());
}

// A stretched grid has the same strain in every triangle, so every node carries the
// elastic law's stress for that strain.
TEST(MeshCommands, AStudyOverADeformedGridGivesTheUniformStressEverywhere)
{
    Harness h;
    auto& c = h.controller;
    c.automesh();
    c.barChanged(Bar::HScroll1, 6);
    c.barChanged(Bar::VScroll1, 4);
    c.barChanged(Bar::HScroll3, 1015); // loaded spacing 165 for 150: u = -0.1 x
    c.barChanged(Bar::VScroll3, 990);  // 140 for 150: v = +x/15
    c.barChanged(Bar::HScroll5, 300);  // a translation, which strains nothing
    c.text1Changed("75");
    c.text2Changed("0,25");
    const double exx = -0.1, eyy = 10.0 / 150.0;

    const double k = 75.0 / (1 - 0.25 * 0.25);
    const double planeStress = std::abs(k * (exx + 0.25 * eyy));
    const double lambda = 75.0 * 0.25 / (1.25 * 0.5), shear = 75.0 / 2.5;
    const double sxx = (lambda + 2 * shear) * exx + lambda * eyy;
    const double syy = lambda * exx + (lambda + 2 * shear) * eyy;
    const double vonMises = std::sqrt(0.5) * std::sqrt((sxx - syy) * (sxx - syy) + syy * syy + sxx * sxx);
    for (const auto& [run, expected] : {std::pair{&MainController::sxxctrteplane, planeStress},
                                        std::pair{&MainController::vonmisesdefplane, vonMises}}) {
        (c.*run)();
        ASSERT_EQ(c.statusLine(), status::Computed);
        for (int n = 1; n <= 24; ++n)
            EXPECT_NEAR(c.state().NodeSums[static_cast<std::size_t>(n)].value, expected, 1e-9)
                << "node " << n;
    }
}

} // namespace
} // namespace ai
