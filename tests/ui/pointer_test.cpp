// The pointer on the main window: node cycles, drags with capture, Stop, hover and the
// material panel, all by real events through the window.
#include "gui_harness.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace ai::test {
namespace {

// A cross of five red pixels around `centre`.
bool redCrossAt(const QImage& shown, QPoint centre)
{
    for (const QPoint arm :
         {QPoint(0, 0), QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
        if (rgbAt(shown, centre + arm) != kRed)
            return false;
    return true;
}

// Node at the same place on both views.
void addNode(GuiHarness& gui, float X, float Y)
{
    gui.clickView(gui.picture1(), X, Y);
    gui.clickView(gui.picture2(), X, Y);
}

QPoint background() { return {1012, 100}; } // right of both views, left of nothing

TEST(Pointer, ANodeIsCreatedOnTheFreeViewAndLocatedOnTheLoadedViewByClicks)
{
    GuiHarness gui;
    gui.chooseMenu({"meshmenu", "node"});
    gui.clickView(gui.picture1(), 1500, 750);
    EXPECT_EQ(gui.status(), "Cliquer sur la structure chargée pour localiser le noeud créé.");
    ASSERT_EQ(gui.state().NodeCount, 1);
    EXPECT_EQ(gui.state().FreeNodes[1].x, 1500);
    EXPECT_EQ(gui.state().FreeNodes[1].y, 750);

    gui.clickView(gui.picture2(), 1650, 900);
    EXPECT_EQ(gui.status(), "Cliquer sur la structure libre pour créer un noeud.");
    EXPECT_EQ(gui.state().LoadNodes[1].x, 1650);
    EXPECT_EQ(gui.state().LoadNodes[1].y, 900);

    // The next movement over the window background draws the marks on both views.
    gui.moveTo(gui.form1().centralWidget(), background());
    EXPECT_TRUE(redCrossAt(GuiHarness::shown(gui.picture1()), {100, 50}));
    EXPECT_TRUE(redCrossAt(GuiHarness::shown(gui.picture2()), {110, 60}));

    // A node waiting for its location is drawn on neither view.
    gui.clickView(gui.picture1(), 4500, 1500);
    gui.moveTo(&gui.picture1(), GuiHarness::pixelOf(gui.picture1(), 6000, 3000));
    EXPECT_EQ(gui.state().NodeCount, 2);
    EXPECT_TRUE(redCrossAt(GuiHarness::shown(gui.picture1()), {100, 50}));
    EXPECT_NE(rgbAt(GuiHarness::shown(gui.picture1()), {300, 100}), kRed);
}

TEST(Pointer, ADragKeepsFollowingThePointerOutsideItsViewAndEndsOnRelease)
{
    GuiHarness gui;
    gui.chooseMenu({"meshmenu", "node"});
    addNode(gui, 1500, 750);
    gui.chooseMenu({"arret", "stopcmd"});

    ui::ImageViewWidget& view = gui.picture1();
    gui.press(&view, GuiHarness::pixelOf(view, 1500, 750));
    EXPECT_EQ(gui.status(), "Glisser pour déposer ce noeud.");
    EXPECT_EQ(gui.state().FreeDragNode, 1);

    // Left of the view's inside, over the window's margin: a negative x.
    const QPoint inside = view.contentsRect().topLeft();
    gui.moveTo(&view, inside + QPoint(-8, 198));
    EXPECT_EQ(gui.state().FreeNodes[1].x, -120);
    EXPECT_EQ(gui.state().FreeNodes[1].y, 2970);

    // Down over the loaded view: the movement and the release still belong to the free view.
    gui.moveTo(&view, inside + QPoint(298, 398));
    gui.release(&view, inside + QPoint(298, 398));
    EXPECT_EQ(gui.state().FreeNodes[1].x, 4470);
    EXPECT_EQ(gui.state().FreeNodes[1].y, 5970);
    EXPECT_EQ(gui.status(), "Noeud déplacé.");
    EXPECT_EQ(gui.state().FreeDragNode, 0);
    EXPECT_EQ(gui.state().LoadDragNode, 0);
    EXPECT_EQ(gui.state().LoadNodes[1].x, 1500);
    EXPECT_EQ(gui.state().LoadNodes[1].y, 750);
    EXPECT_FALSE(redCrossAt(GuiHarness::shown(view), {100, 50}));
}

TEST(Pointer, StopDuringManualMeshingTurnsTheNextPickIntoADrag)
{
    GuiHarness gui;
    gui.chooseMenu({"meshmenu", "node"});
    addNode(gui, 1500, 750);
    addNode(gui, 3000, 750);
    addNode(gui, 1500, 2250);
    gui.chooseMenu({"meshmenu", "manumesh"});
    gui.clickView(gui.picture1(), 1500, 750);
    EXPECT_EQ(gui.status(), "Selectionner le second noeud de l'élément sur la structure libre.");

    QTest::keyClick(&gui.form1(), Qt::Key_Delete);
    EXPECT_EQ(gui.status(), "Attente de commandes");

    gui.clickView(gui.picture1(), 9000, 3000);
    EXPECT_EQ(gui.status(), "Commande stopée.");
    gui.press(&gui.picture1(), GuiHarness::pixelOf(gui.picture1(), 3000, 750));
    EXPECT_EQ(gui.status(), "Glisser pour déposer ce noeud.");
    EXPECT_EQ(gui.state().FreeDragNode, 2);
    gui.release(&gui.picture1(), GuiHarness::pixelOf(gui.picture1(), 3000, 750));
    EXPECT_EQ(gui.status(), "Noeud déplacé.");
    EXPECT_EQ(gui.state().ElementCount, 0);
}

TEST(Pointer, HoverRevealsTheMaterialPanelUntilTheNextRedrawThatDraws)
{
    GuiHarness gui;
    QWidget* label5 = gui.control("Label5");
    QWidget* frame1 = gui.control("Frame1");
    QWidget* label7 = gui.control("Label7");
    QWidget* client = gui.form1().centralWidget();

    gui.moveTo(label7, label7->rect().center());
    EXPECT_TRUE(label5->isVisible());
    EXPECT_FALSE(frame1->isVisible());
    gui.moveTo(label5, label5->rect().center());
    EXPECT_TRUE(frame1->isVisible());

    // At rest, movements elsewhere redraw nothing and the panel stays.
    gui.moveTo(client, background());
    gui.moveTo(&gui.picture2(), {20, 20});
    EXPECT_TRUE(frame1->isVisible());

    // The text boxes hand what the user types to the core.
    auto* text2 = static_cast<QLineEdit*>(gui.control("Text2"));
    gui.click(text2, text2->rect().center());
    text2->selectAll();
    QTest::keyClicks(text2, "0,3");
    EXPECT_EQ(gui.controller().poissonText(), "0,3");

    // Under a drawing mode, movements over the panel, "+" and "Matériau" are not the
    // window's, so hovering still reveals the panel...
    gui.chooseMenu({"meshmenu", "node"});
    gui.moveTo(frame1, {5, 5});
    gui.moveTo(label7, label7->rect().center());
    gui.moveTo(label5, label5->rect().center());
    EXPECT_TRUE(frame1->isVisible());
    EXPECT_TRUE(label5->isVisible());
    // ...and the next one over the window redraws and hides the panel and its label.
    gui.moveTo(client, background());
    EXPECT_FALSE(frame1->isVisible());
    EXPECT_FALSE(label5->isVisible());
    EXPECT_TRUE(label7->isVisible());
}

} // namespace
} // namespace ai::test
