// The map window's context menu: its picture as PNG and its values as the two CSV tables,
// chosen by a right click and a click on the entry, written through the file store.
#include "gui_harness.h"
#include "support/csv_records.h"

#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace ai::test {
namespace {

// One triangle whose node 2 lies one unit further right on the loaded image.
const std::string kStretched =
    "[init]\r\nnode=3\r\nmesh=1\r\n"
    "[freenodelist]\r\nnodex1=0\r\nnodey1=0\r\nnodex2=100\r\nnodey2=0\r\nnodex3=0\r\nnodey3=100\r\n"
    "[loadnodelist]\r\nnodex1=0\r\nnodey1=0\r\nnodex2=101\r\nnodey2=0\r\nnodex3=0\r\nnodey3=100\r\n"
    "[freemeshlist]\r\nmesh11=1\r\nmesh21=2\r\nmesh31=3\r\n";

void typeInto(QWidget* box, const char* text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, QString::fromUtf8(text));
}

// Opens the triangle's mesh file and studies sigma xx in plane stress with E 75, nu 0,25.
void studyTheTriangle(GuiHarness& gui)
{
    gui.files.files["triangle.MEF"] = kStretched;
    gui.dialogs.answers.push_back("triangle.MEF");
    gui.chooseMenu({"meshmenu", "io", "open"});
    gui.moveTo(gui.control("Label7"), {5, 5});
    gui.moveTo(gui.control("Label5"), {5, 5});
    typeInto(gui.control("Text1"), "75");
    typeInto(gui.control("Text2"), "0,25");
    gui.chooseMenu({"study", "ctrtpla", "sxxctrteplane"});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&gui.form2()));
}

// A right click on the map window, then a left click on the entry of the menu it opens.
void chooseFromMapMenu(GuiHarness& gui, const char* entry)
{
    ui::Form2& map = gui.form2();
    QTest::mouseClick(map.windowHandle(), Qt::RightButton, {}, QPoint(500, 400));
    auto* menu = map.findChild<QMenu*>(QStringLiteral("mapMenu"));
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); })) << "no context menu";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    auto* action = menu->findChild<QAction*>(QString::fromLatin1(entry));
    ASSERT_NE(action, nullptr) << entry;
    ASSERT_TRUE(action->isEnabled()) << entry;
    QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {},
                      menu->actionGeometry(action).center());
    EXPECT_TRUE(QTest::qWaitFor([menu] { return !menu->isVisible(); }));
}

TEST(MapExport, SavesThePictureAsTheWindowShowsIt)
{
    GuiHarness gui;
    studyTheTriangle(gui);
    gui.dialogs.answers.push_back("carte");
    chooseFromMapMenu(gui, "savePicture");
    EXPECT_EQ(gui.dialogs.titles.back(), "Enregistrer l'image de la carte");
    ASSERT_EQ(gui.files.files.count("carte.png"), 1u) << "the extension is added";

    const std::string& bytes = gui.files.files["carte.png"];
    const QImage picture = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                                            static_cast<int>(bytes.size()), "PNG");
    ASSERT_EQ(picture.size(), QSize(1016, 444));
    // The top row of the colour bar, and the one node dot a range of 0 leaves: (0, 255, 5).
    EXPECT_EQ(rgbAt(picture, {877, 12}), 0xFF4300u);
    EXPECT_EQ(rgbAt(picture, {7, 0}), 0x00FF05u);

    // A name that has the extension keeps it; a failed write says so and names the file.
    gui.files.failure = "disque plein";
    gui.dialogs.answers.push_back("carte.PNG");
    chooseFromMapMenu(gui, "savePicture");
    ASSERT_FALSE(gui.messages.shown.empty());
    EXPECT_EQ(gui.messages.shown.back(),
              "L'image n'a pas pu être enregistrée dans le fichier \"carte.PNG\" : disque plein");
}

TEST(MapExport, SavesTheValuesOfTheMapShownNotOfTheStudyChangedSince)
{
    GuiHarness gui;
    studyTheTriangle(gui);
    // After the study the material changes; the map, and so its tables, do not.
    gui.moveTo(gui.control("Label7"), {5, 5});
    gui.moveTo(gui.control("Label5"), {5, 5});
    typeInto(gui.control("Text1"), "150");

    gui.dialogs.answers.push_back("noeuds.csv");
    chooseFromMapMenu(gui, "saveNodeValues");
    gui.dialogs.answers.push_back("elements");
    chooseFromMapMenu(gui, "saveElementValues");
    EXPECT_TRUE(gui.messages.shown.size() == 1) << "only the counts of the opened file";

    const auto nodes = csvRecords(gui.files.files["noeuds.csv"]);
    ASSERT_EQ(nodes.size(), 4u);
    EXPECT_EQ(nodes[2],
              (std::vector<std::string>{"2", "100", "0", "101", "0", "-1", "0", "1", "0.8"}));
    const auto elements = csvRecords(gui.files.files["elements.csv"]);
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_DOUBLE_EQ(csvNumber(elements[1][8]), -0.8) << "E = 75 as studied, not 150";

    // Cancelling the dialog writes nothing.
    const auto written = gui.files.files.size();
    chooseFromMapMenu(gui, "saveNodeValues");
    EXPECT_EQ(gui.files.files.size(), written);
}

} // namespace
} // namespace ai::test
