// The mesh generators' panels and their scroll bars, through the real window.
#include "gui_harness.h"

#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace ai::test {
namespace {

constexpr QRgb kHighlight = 0x0078D7u; // the harness's highlight colour, Rgb{0, 120, 215}

int pixelsOf(const QImage& image, QRgb colour, QRect within)
{
    int count = 0;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            count += rgbAt(image, {x, y}) == colour ? 1 : 0;
    return count;
}

void clickCentre(GuiHarness& gui, const char* name)
{
    QWidget* widget = gui.control(name);
    gui.click(widget, widget->rect().center());
}

TEST(MeshPanels, TheCommandsAndValiderButtonsShowAndHideThePanels)
{
    GuiHarness gui;
    QWidget* frame3 = gui.control("Frame3");
    QWidget* frame4 = gui.control("Frame4");

    gui.chooseMenu({"meshmenu", "automesh"});
    EXPECT_TRUE(frame3->isVisible());
    EXPECT_FALSE(frame4->isVisible());
    gui.chooseMenu({"meshmenu", "mesh"});
    EXPECT_TRUE(frame4->isVisible());
    EXPECT_FALSE(frame3->isVisible());

    gui.chooseMenu({"meshmenu", "node"});
    clickCentre(gui, "Command7");
    EXPECT_FALSE(frame4->isVisible());
    EXPECT_EQ(gui.status(), "Attente de commandes");

    gui.chooseMenu({"meshmenu", "automesh"});
    gui.chooseMenu({"meshmenu", "node"});
    clickCentre(gui, "Command6");
    EXPECT_FALSE(frame3->isVisible());
    EXPECT_EQ(gui.status(), "Attente de commandes");
}

TEST(MeshPanels, ABarMovedByTheUserRegeneratesTheMeshAndBothViews)
{
    GuiHarness gui;
    gui.chooseMenu({"meshmenu", "node"});
    for (const auto& [X, Y] : {std::pair{3000.0f, 1500.0f}, {4000.0f, 1500.0f}, {3000.0f, 2500.0f}}) {
        gui.clickView(gui.picture1(), X, Y);
        gui.clickView(gui.picture2(), X, Y);
    }
    gui.chooseMenu({"arret", "stopcmd"});
    gui.chooseMenu({"meshmenu", "mesh"});
    ASSERT_EQ(gui.state().ElementCount, 0) << "1000 apart, beyond D = 400";

    // The End key takes D to 3000: the three nodes join up at once on both views.
    QTest::keyClick(gui.control("HScroll6"), Qt::Key_End);
    EXPECT_EQ(gui.state().ElementCount, 6);
    EXPECT_EQ(gui.status(), "Attente de commandes");
    const QRect around(QPoint(3000 / 15, 1500 / 15), QPoint(4000 / 15, 2500 / 15));
    EXPECT_GT(pixelsOf(GuiHarness::shown(gui.picture1()), kHighlight, around), 100);
    EXPECT_GT(pixelsOf(GuiHarness::shown(gui.picture2()), kHighlight, around), 100);

    // A click on the right arrow of HScroll1: a grid of 3 x 2 nodes after the three nodes.
    gui.chooseMenu({"meshmenu", "automesh"});
    auto* columns = static_cast<QScrollBar*>(gui.control("HScroll1"));
    gui.click(columns, {columns->width() - 3, columns->height() / 2});
    EXPECT_EQ(columns->value(), 3);
    EXPECT_EQ(gui.state().NodeCount, 3 + 6);
    EXPECT_EQ(gui.state().ElementCount, 6 + 4);
    EXPECT_EQ(gui.status(), "Attente de commandes");
    const QRect grid(0, 0, 300 / 15 + 1, 150 / 15 + 1);
    EXPECT_GT(pixelsOf(GuiHarness::shown(gui.picture1()), kHighlight, grid), 20);
    EXPECT_GT(pixelsOf(GuiHarness::shown(gui.picture2()), kHighlight, grid), 20);
}

} // namespace
} // namespace ai::test
