// A study from the menu: material typed into the panel, then the map window with its
// title, its labels and the coloured points where the core put them.
#include "gui_harness.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace ai::test {
namespace {

void typeInto(QWidget* box, const char* text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, QString::fromUtf8(text));
}

QString mapLabel(GuiHarness& gui, const char* name)
{
    auto* label = gui.form2().findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QString();
}

TEST(StudyMap, ShowsTheChosenStressOverTheFreePhotograph)
{
    GuiHarness gui;
    PictureFolder pictures;
    gui.dialogs.answers.push_back(pictures.write("libre.bmp", {900, 330}, QColor(200, 200, 200)));
    gui.chooseMenu({"image", "imagelibre"});

    // Three nodes 3000 units apart; node 2 is found 15 units further right under load.
    gui.chooseMenu({"meshmenu", "node"});
    const float free[3][2] = {{1500, 1500}, {4500, 1500}, {1500, 4500}};
    const float loaded[3][2] = {{1500, 1500}, {4515, 1500}, {1500, 4500}};
    for (int i = 0; i < 3; ++i) {
        gui.clickView(gui.picture1(), free[i][0], free[i][1]);
        gui.clickView(gui.picture2(), loaded[i][0], loaded[i][1]);
    }
    gui.chooseMenu({"meshmenu", "manumesh"});
    for (const auto& p : free)
        gui.clickView(gui.picture1(), p[0], p[1]);
    ASSERT_EQ(gui.state().ElementCount, 1);

    // Resting, the "+" and "Matériau" labels open the material panel.
    gui.chooseMenu({"arret", "stopcmd"});
    gui.moveTo(gui.control("Label7"), {5, 5});
    gui.moveTo(gui.control("Label5"), {5, 5});
    ASSERT_TRUE(gui.control("Frame1")->isVisible());
    typeInto(gui.control("Text1"), "75");
    typeInto(gui.control("Text2"), "0,25");

    gui.chooseMenu({"study", "ctrtpla", "sxxctrteplane"});
    EXPECT_EQ(gui.status(), "Calcul effectué.");
    EXPECT_TRUE(gui.messages.shown.empty());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&gui.form2()));
    EXPECT_EQ(gui.form2().windowTitle(), QStringLiteral("Carte des contraintes"));
    EXPECT_EQ(mapLabel(gui, "Label1"), QStringLiteral("Constrainte normale selon x en MPa"));
    // A strain of -0.5 % along x under plane stress: 80 x 0.005 MPa at every node.
    EXPECT_EQ(mapLabel(gui, "Label2"), QStringLiteral("0,4"));
    EXPECT_EQ(mapLabel(gui, "Label3"), QStringLiteral("0,4"));

    const QImage map = gui.form2().grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb middle = qRgb(0, 255, 5) & 0xFFFFFFu; // one value everywhere
    for (const auto& p : free) {
        const QPoint node(static_cast<int>(p[0] / 15), static_cast<int>(p[1] / 15));
        EXPECT_EQ(rgbAt(map, node), middle);
        EXPECT_EQ(rgbAt(map, node + QPoint(1, -1)), middle);
    }
    EXPECT_EQ(rgbAt(map, {600, 50}), qRgb(200, 200, 200) & 0xFFFFFFu); // the photograph
    // The colour bar's bottom and top rows, at 13160 units across.
    EXPECT_EQ(rgbAt(map, {877, 266}), qRgb(0, 3, 254) & 0xFFFFFFu);
    EXPECT_EQ(rgbAt(map, {877, 12}), qRgb(255, 67, 0) & 0xFFFFFFu);

    // The main window stays usable while the map is open.
    gui.chooseMenu({"meshmenu", "node"});
    EXPECT_EQ(gui.status(), "Cliquer sur la structure libre pour créer un noeud.");
    EXPECT_TRUE(gui.form2().isVisible());
}

} // namespace
} // namespace ai::test
