// The map window's frame: a fixed tool window with its labels, a drawing surface that keeps
// its points, and the difference between a close by the user and a hide.
#include "gui_harness.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace ai::test {
namespace {

QLabel* mapLabel(ui::Form2& map, const char* name)
{
    auto* label = map.findChild<QLabel*>(QString::fromLatin1(name));
    EXPECT_NE(label, nullptr) << name;
    return label;
}

TEST(MapWindow, IsAFixedToolWindowWithItsDesignLabels)
{
    GuiHarness gui;
    ui::Form2& map = gui.form2();
    EXPECT_FALSE(map.isVisible());
    EXPECT_EQ(map.windowTitle(), QStringLiteral("Carte des contraintes"));
    EXPECT_EQ(map.size(), QSize(1016, 444));
    EXPECT_EQ(map.minimumSize(), map.maximumSize());
    const Qt::WindowFlags flags = map.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    struct Expected {
        const char* name;
        QRect at;
        const char* text;
    };
    for (const Expected& e :
         {Expected{"Label1", {320, 408, 129, 33}, "Contrainte équivalente de Von-Mises en Mpa"},
          Expected{"Label2", {904, 24, 105, 17}, "0"},
          Expected{"Label3", {904, 264, 105, 17}, "0"}}) {
        QLabel* label = mapLabel(map, e.name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->geometry(), e.at) << e.name;
        EXPECT_EQ(label->text(), QString::fromUtf8(e.text)) << e.name;
    }
    EXPECT_TRUE(mapLabel(map, "Label1")->font().italic());
    EXPECT_FALSE(mapLabel(map, "Label2")->font().italic());
    EXPECT_EQ(mapLabel(map, "Label1")->alignment(), Qt::AlignCenter);

    map.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    map.setTitle("Constrainte normale selon x en MPa");
    map.setMaximumText("0,6666");
    map.setMinimumText("0");
    EXPECT_EQ(mapLabel(map, "Label1")->text(),
              QStringLiteral("Constrainte normale selon x en MPa"));
    EXPECT_EQ(mapLabel(map, "Label2")->text(), QStringLiteral("0,6666"));
}

TEST(MapWindow, KeepsItsPointsOverTheBackgroundUntilTheNextBackground)
{
    GuiHarness gui;
    PictureFolder folder;
    ui::Form2& map = gui.form2();
    const std::string free = folder.write("libre.bmp", {100, 80}, Qt::blue);
    map.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    map.setBackground(free);
    map.drawPoint(150, 150, Rgb{0, 255, 0});
    map.drawPoint(3000, 3000, Rgb{255, 67, 0}); // beside the photograph
    map.drawPoint(-300, 99999, Rgb{255, 0, 0}); // outside the window: nothing

    const auto shown = [&] { return map.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    const QRgb empty = map.palette().color(QPalette::Window).rgb() & 0xFFFFFFu;
    QImage picture = shown();
    EXPECT_EQ(rgbAt(picture, {10, 10}), 0x00FF00u);
    EXPECT_EQ(rgbAt(picture, {200, 200}), 0xFF4300u);
    EXPECT_EQ(rgbAt(picture, {50, 50}), 0x0000FFu);
    EXPECT_EQ(rgbAt(picture, {300, 100}), empty);

    // The map survives the window being hidden and shown again.
    map.hide();
    map.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    EXPECT_EQ(rgbAt(shown(), {10, 10}), 0x00FF00u);

    // A new background starts again from the photograph, or from nothing.
    map.setBackground(free);
    picture = shown();
    EXPECT_EQ(rgbAt(picture, {10, 10}), 0x0000FFu);
    EXPECT_EQ(rgbAt(picture, {200, 200}), empty);
    map.setBackground(folder.path("gone.bmp"));
    EXPECT_EQ(rgbAt(shown(), {10, 10}), empty);
}

TEST(MapWindow, AClosedMapSetsTheStatusAHiddenOneDoesNotAndTheMainWindowTakesItAlong)
{
    GuiHarness gui;
    ui::Form2& map = gui.form2();
    gui.chooseMenu({"meshmenu", "node"});
    map.show();
    map.hide();
    EXPECT_EQ(gui.status(), "Cliquer sur la structure libre pour créer un noeud.");

    map.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    map.close();
    EXPECT_EQ(gui.status(), "Calcul effectué.");

    // Closing the main window ends the program: the map window goes with it.
    map.show();
    gui.form1().close();
    EXPECT_FALSE(map.isVisible());
    EXPECT_EQ(gui.status(), "Calcul effectué.");
}

} // namespace
} // namespace ai::test
