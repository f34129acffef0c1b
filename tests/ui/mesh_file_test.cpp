// Saving and reopening a study from the menu, through the injected dialogs, files and
// message box.
#include "gui_harness.h"

#include <gtest/gtest.h>

namespace ai::test {
namespace {

// Three nodes, each found 150 units lower right under load, and their triangle.
void buildStudy(GuiHarness& gui)
{
    gui.chooseMenu({"meshmenu", "node"});
    const float free[3][2] = {{1500, 750}, {4500, 750}, {1500, 3000}};
    for (const auto& p : free) {
        gui.clickView(gui.picture1(), p[0], p[1]);
        gui.clickView(gui.picture2(), p[0] + 150, p[1] + 150);
    }
    gui.chooseMenu({"meshmenu", "manumesh"});
    for (const auto& p : free)
        gui.clickView(gui.picture1(), p[0], p[1]);
    ASSERT_EQ(gui.state().ElementCount, 1);
}

TEST(MeshFile, ASavedStudyReopensWithItsCountsInTheMessageBox)
{
    GuiHarness gui;
    buildStudy(gui);
    gui.dialogs.answers = {"etude", "etude.MEF"};
    gui.chooseMenu({"meshmenu", "io", "save"});
    EXPECT_TRUE(gui.files.files["etude.MEF"].starts_with(
        "[init]\r\nnode=3\r\nmesh=1\r\n[freenodelist]\r\nnodex1=1500\r\nnodey1=750\r\n"));
    EXPECT_TRUE(gui.messages.shown.empty());

    gui.chooseMenu({"meshmenu", "io", "open"});
    EXPECT_EQ(gui.dialogs.titles,
              (std::vector<std::string>{"Sauvergarde d'un maillage", "Ouverture d'un maillage"}));
    EXPECT_EQ(gui.messages.shown, std::vector<std::string>{"3 noeuds et 1 élément(s)"});
    EXPECT_EQ(gui.status(), "Effacement effectué.");
    EXPECT_EQ(gui.state().NodeCount, 3);
    EXPECT_EQ(gui.state().ElementCount, 1);

    // The next movement over the window draws the triangle read, on both views: the
    // middle of its top edge takes the highlight colour.
    gui.moveTo(gui.form1().centralWidget(), {1012, 100});
    const QRgb highlight = qRgb(0, 120, 215) & 0xFFFFFFu;
    EXPECT_EQ(rgbAt(GuiHarness::shown(gui.picture1()), {200, 50}), highlight);
    EXPECT_EQ(rgbAt(GuiHarness::shown(gui.picture2()), {210, 60}), highlight);
}

TEST(MeshFile, AFailedSaveSaysWhyAndKeepsTheFileAndTheStudy)
{
    GuiHarness gui;
    buildStudy(gui);
    gui.files.files["etude.MEF"] = "ancien contenu";
    gui.files.failure = "plus de place sur le disque";
    gui.dialogs.answers = {"etude"};
    gui.chooseMenu({"meshmenu", "io", "save"});

    ASSERT_EQ(gui.messages.shown.size(), 1u);
    EXPECT_NE(gui.messages.shown[0].find("etude.MEF"), std::string::npos);
    EXPECT_NE(gui.messages.shown[0].find("plus de place sur le disque"), std::string::npos);
    EXPECT_EQ(gui.files.files["etude.MEF"], "ancien contenu");
    EXPECT_EQ(gui.state().NodeCount, 3);
    EXPECT_EQ(gui.state().ElementCount, 1);
}

} // namespace
} // namespace ai::test
