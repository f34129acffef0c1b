// GUI tests: the whole application over fakes of the modal ports, on Qt's offscreen platform,
// driven by real pointer and key events through its windows.
#include "analysis/uncertainty_map.h"
#include "support/fakes.h"
#include "ui/application.h"
#include "ui/image_view_widget.h"
#include "ui/offscreen_map.h"

#include <QApplication>
#include <QImageWriter>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#include <gtest/gtest.h>

namespace ai::test {
namespace {

constexpr QRgb kRed = 0xFF0000u, kBlue = 0x0000FFu, kHighlight = 0x0078D7u;
QRgb rgbAt(const QImage& image, QPoint at) { return image.pixel(at) & 0xFFFFFFu; }
QPointF at(const Position& p) { return {p.x, p.y}; }

// What a widget shows inside its border (a view's: one pixel per view pixel).
QImage shown(QWidget& widget) { return widget.grab(widget.contentsRect()).toImage(); }

// Pointer events through the window under a widget, at a position in the widget's pixels.
using enum QTest::MouseAction;
void mouse(QWidget* widget, QPoint at,
           std::initializer_list<QTest::MouseAction> actions = {MouseMove, MousePress,
                                                                MouseRelease})
{
    for (const QTest::MouseAction action : actions)
        QTest::mouseEvent(action, widget->window()->windowHandle(), Qt::LeftButton, {},
                          widget->mapTo(widget->window(), at));
}

struct GuiHarness {
    FakeMessages messages;
    FakeDialogs dialogs;
    MemoryFiles files;
    ui::Application app{messages, dialogs, files, Settings{NumberFormat{','}, Rgb{0, 120, 215}}};
    ui::Form1& form1 = app.form1();
    ui::ImageViewWidget& picture1 = form1.picture1();
    ui::ImageViewWidget& picture2 = form1.picture2();
    const ProjectState& state = app.controller().state();
    QTemporaryDir folder; // for the files a test writes

    GuiHarness()
    {
        form1.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form1) && QTest::qWaitForWindowActive(&form1));
    }

    template <class W = QWidget> W* control(const char* name) { return form1.findChild<W*>(name); }
    std::string status() { return control<QLabel>("Label1")->text().toStdString(); }
    void moveOver(const char* name) { mouse(control(name), {5, 5}, {MouseMove}); }
    void moveOverBackground() { mouse(form1.centralWidget(), {1012, 100}, {MouseMove}); }
    // A click on a view at a position in view units, 15 a pixel.
    void clickView(ui::ImageViewWidget& view, int X, int Y)
    {
        mouse(&view, view.contentsRect().topLeft() + QPoint(X / 15, Y / 15));
    }

    // Clicks its way through the menu bar, e.g. {"meshmenu", "io", "save"}.
    void chooseMenu(std::initializer_list<const char*> path)
    {
        QWidget* opener = form1.menuBar();
        for (const char* name : path) {
            auto* submenu = form1.findChild<QMenu*>(name);
            QAction* entry = submenu ? submenu->menuAction() : control<QAction>(name);
            auto* menu = qobject_cast<QMenu*>(opener);
            const QRect place =
                menu ? menu->actionGeometry(entry) : form1.menuBar()->actionGeometry(entry);
            QTest::mouseClick(opener->window()->windowHandle(), Qt::LeftButton, {},
                              opener->mapTo(opener->window(), place.center()));
            ASSERT_TRUE(!submenu || (QTest::qWaitFor([&] { return submenu->isVisible(); }) &&
                                     QTest::qWaitForWindowExposed(submenu)));
            opener = submenu;
        }
        EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }));
    }

    void typeInto(const char* name, const char* text)
    {
        QTest::mouseClick(control(name), Qt::LeftButton);
        QTest::keyClick(control(name), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(control(name), QString::fromUtf8(text));
    }

    // A file of the test's folder holding `bytes`, or a picture of one colour; its path.
    std::string write(const char* name, const QByteArray& bytes)
    {
        QFile out(folder.filePath(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        return out.fileName().toStdString();
    }
    std::string write(const char* name, QSize size, QColor colour, const char* format = "BMP")
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        EXPECT_TRUE(QImageWriter(folder.filePath(name), format).write(image));
        return folder.filePath(name).toStdString();
    }
};

// --- The main window: its start state, and the pointer, keys, panels and bars bound to the core.

// The menu tree as "name caption;" entries, each '>' a level down; every entry enabled.
std::string menuTree(QWidget* menu, const std::string& depth = {})
{
    std::string tree;
    for (QAction* a : menu->actions()) {
        EXPECT_TRUE(a->isEnabled() && a->isVisible() && !a->isCheckable());
        const QObject* named = a->menu() ? static_cast<QObject*>(a->menu()) : a;
        tree += depth + (named->objectName() + ' ' + a->text() + ';').toStdString();
        tree += a->menu() ? menuTree(a->menu(), depth + '>') : "";
    }
    return tree;
}

TEST(MainWindow, StartsWithItsControlsTextsBarsAndMenus)
{
    GuiHarness gui;
    EXPECT_EQ(gui.form1.windowTitle(), QStringLiteral("Analyse d'image"));
    EXPECT_FALSE(gui.form1.windowIcon().isNull());
    EXPECT_EQ(gui.form1.centralWidget()->size(), QSize(1016, 714));
    EXPECT_EQ(gui.form1.minimumSize(), gui.form1.maximumSize());
    EXPECT_FALSE(gui.form1.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(gui.control("Frame4")->parentWidget(), &gui.picture1); // above the view

    QStringList shownNames, captions;
    for (QWidget* w : gui.form1.centralWidget()->findChildren<QWidget*>()) {
        const QString caption = w->property("text").toString() + w->property("title").toString();
        if (w->isVisible() && !w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
            shownNames << w->objectName();
        if (!caption.isEmpty())
            captions << w->objectName() + '=' + caption;
    }
    shownNames.sort();
    captions.sort();
    EXPECT_EQ(shownNames.join(' ').toStdString(), "Label1 Label7 Picture1 Picture2");
    EXPECT_EQ(captions.join('|').toStdString(),
              "Command1=Nombre de noeuds|Command2=Dimensions|Command3=Déformation |"
              "Command4=Déplact libre|Command5=Déplct chargé|Command6=Valider|Command7=Valider|"
              "Frame1=Matériau|Frame3=Structure maillée|Frame4=Maillage automatique|"
              "Label1=Attente de commandes|Label2=Module de Young en MPa|"
              "Label3=Coefficient de Poisson|Label5=Matériau|Label7=+|Text1=1|Text2=0,47");
    for (std::size_t i = 0; i < kBarCount; ++i) {
        const BarRange r = barRange(static_cast<Bar>(i));
        const std::string name = (i % 2 ? "VScroll" : "HScroll") + std::to_string(i / 2 + 1);
        auto* bar = gui.control<QScrollBar>(name.c_str());
        EXPECT_EQ(
            (std::array{bar->minimum(), bar->maximum(), bar->singleStep(), bar->pageStep(),
                        bar->value(), int(bar->orientation())}),
            (std::array{r.minimum, r.maximum, r.smallStep, r.largeStep, r.initial, i % 2 ? 2 : 1}))
            << name;
    }
    gui.form1.setBarValue(Bar::HScroll3, 77); // the core moving a bar is no change by the user
    EXPECT_EQ(gui.app.controller().barValue(Bar::HScroll3), 1000);

    EXPECT_EQ(menuTree(gui.form1.menuBar()),
              "image Import d'images;>imgcharge Structure chargée;>imagelibre Structure libre;"
              "meshmenu Maillage;>erase Effacement;>>effder Effacer dernier élément;"
              ">>effmesh Effacer le maillage;>>eff Effacer tout;>node Créer des noeuds;"
              ">manumesh Maillage manuel;>mesh Maillage automatique;>automesh Structure maillée;"
              ">io I/O;>>save Sauvegarde;>>open Ouverture;study Etude;"
              ">ctrtpla Hypothèse de contraintes planes;>>sxxctrteplane Sigma xx;"
              ">>syyctrteplane Sigma yy;>>sxyctrteplane Sigma xy (cisaillement);"
              ">>vonmiesectrteplane Contrainte de Von-Mises;"
              ">defpla Hypothèse de déformations planes;>>sxxdefplane Sigma xx;"
              ">>syydefplane Sigma yy;>>sxydefplane Sigma xy (cisaillement);"
              ">>vonmisesdefplane Contrainte de Von-Mises;arret Arret;>stopcmd Stop;");
}

TEST(Pointer, ClicksMakeANodeAndStopByTheDelKeyTurnsAPickIntoADragThatLeavesTheView)
{
    GuiHarness gui;
    ui::ImageViewWidget& view = gui.picture1;
    const QPoint inside = view.contentsRect().topLeft();
    gui.chooseMenu({"meshmenu", "node"});
    gui.clickView(view, 1500, 750);
    gui.clickView(gui.picture2, 1650, 900);
    EXPECT_EQ(at(gui.state.FreeNodes[1]), QPointF(1500, 750));
    EXPECT_EQ(at(gui.state.LoadNodes[1]), QPointF(1650, 900));
    gui.moveOverBackground(); // redraws both views
    EXPECT_EQ(rgbAt(shown(view), {101, 50}), kRed);
    EXPECT_EQ(rgbAt(shown(gui.picture2), {110, 59}), kRed);

    gui.chooseMenu({"meshmenu", "manumesh"});
    gui.clickView(view, 1500, 750);
    QTest::keyClick(&gui.form1, Qt::Key_Delete);
    EXPECT_EQ(gui.status(), "Attente de commandes");
    mouse(&view, inside + QPoint(100, 50), {MousePress});
    EXPECT_EQ(gui.status(), "Glisser pour déposer ce noeud.");
    mouse(&view, inside + QPoint(-8, 198), {MouseMove}); // left of the view: a negative x
    EXPECT_EQ(at(gui.state.FreeNodes[1]), QPointF(-120, 2970));
    mouse(&view, inside + QPoint(298, 398), {MouseMove}); // over the loaded view
    mouse(&view, inside + QPoint(298, 398), {MouseRelease});
    EXPECT_EQ(at(gui.state.FreeNodes[1]), QPointF(4470, 5970));
    EXPECT_EQ(gui.status(), "Noeud déplacé.");
    EXPECT_NE(rgbAt(shown(view), {101, 50}), kRed);
}

TEST(Pointer, HoverRevealsTheMaterialPanelUntilTheNextDrawingRedraw)
{
    GuiHarness gui;
    QWidget* frame1 = gui.control("Frame1");
    ASSERT_TRUE(gui.picture2.importPicture(gui.write("blue.bmp", {1001, 345}, Qt::blue)));
    gui.moveOver("Label7");
    gui.moveOver("Label5");
    EXPECT_TRUE(frame1->isVisible());
    // The panel lies above the loaded view and hides the photograph under it.
    const QRgb panel = gui.form1.grab().toImage().pixel(frame1->mapTo(&gui.form1, QPoint(4, 100)));
    EXPECT_GT(qRed(panel), 128) << "not the blue photograph";
    // Under a drawing mode, movements over the panel and the two labels are not the window's.
    gui.chooseMenu({"meshmenu", "node"});
    for (const char* name : {"Frame1", "Label7", "Label5"})
        gui.moveOver(name);
    EXPECT_TRUE(frame1->isVisible());
    gui.moveOverBackground();
    EXPECT_FALSE(frame1->isVisible() || gui.control("Label5")->isVisible());
}

TEST(MeshPanels, CommandsAndValiderButtonsShowAndHideThemAndABarRegeneratesTheMesh)
{
    GuiHarness gui;
    QWidget* frame3 = gui.control("Frame3");
    QWidget* frame4 = gui.control("Frame4");
    gui.chooseMenu({"meshmenu", "automesh"});
    EXPECT_TRUE(frame3->isVisible() && !frame4->isVisible());
    mouse(gui.control("Command6"), {20, 10});
    EXPECT_FALSE(frame3->isVisible());
    gui.chooseMenu({"meshmenu", "mesh"});
    EXPECT_TRUE(frame4->isVisible());
    mouse(gui.control("Command7"), {20, 10});
    EXPECT_FALSE(frame4->isVisible());

    // Three nodes 1000 apart, beyond D = 400; the End key takes D to 3000: six triangles.
    gui.chooseMenu({"meshmenu", "node"});
    for (const auto& [X, Y] : {std::pair{3000, 1500}, {4000, 1500}, {3000, 2500}}) {
        gui.clickView(gui.picture1, X, Y);
        gui.clickView(gui.picture2, X, Y);
    }
    gui.chooseMenu({"meshmenu", "mesh"});
    QTest::keyClick(gui.control("HScroll6"), Qt::Key_End);
    EXPECT_EQ(gui.state.ElementCount, 6);
    EXPECT_EQ(rgbAt(shown(gui.picture1), {233, 100}), kHighlight);
    EXPECT_EQ(rgbAt(shown(gui.picture2), {233, 100}), kHighlight);
}

// --- The picture views.

TEST(PictureView, KeepsOnlyWhatTheViewShowsAndDecodesItAgainOnlyWhenTheFileChanges)
{
    GuiHarness gui;
    ui::ImageViewWidget& view = gui.picture1;
    ASSERT_TRUE(view.importPicture(gui.write("large.png", {3000, 2000}, Qt::blue, "PNG")));
    EXPECT_EQ(view.picture().size(), view.contentsRect().size());
    // Rewritten with its size and time kept: not decoded again; written since: decoded again;
    // gone: an empty view.
    const std::string photo = gui.write("photo.bmp", {400, 200}, Qt::blue);
    ASSERT_TRUE(view.importPicture(photo));
    const auto stamp = std::filesystem::last_write_time(photo);
    gui.write("photo.bmp", {400, 200}, Qt::green);
    std::filesystem::last_write_time(photo, stamp);
    view.restorePicture(photo);
    EXPECT_EQ(rgbAt(shown(view), {10, 10}), kBlue);
    std::filesystem::last_write_time(photo, stamp + std::chrono::seconds(5));
    view.restorePicture(photo);
    EXPECT_EQ(rgbAt(shown(view), {10, 10}), 0x00FF00u);
    std::filesystem::remove(photo);
    view.restorePicture(photo);
    EXPECT_TRUE(view.picture().isNull());
}

TEST(PictureView, AnImportThatFailsAfterAGoodOneLeavesTheViewAndTheRememberedName)
{
    GuiHarness gui;
    const std::string good = gui.write("good.bmp", {40, 30}, Qt::blue);
    gui.dialogs.answers = {good};
    gui.chooseMenu({"image", "imagelibre"});
    gui.picture1.drawPoint(150, 150, Rgb{255, 0, 0});
    for (const std::string& file : {
             gui.folder.filePath("missing.bmp").toStdString(),
             gui.folder.path().toStdString(),
             gui.write("garbage.png", QByteArray(4096, '\x5a')),
             gui.write("broken.jpg", QByteArray("\xFF\xD8\xFF not really", 14)),
             // The header of a BMP of 100000 x 100000 pixels: refused before anything is allocated.
             gui.write("huge.bmp", QByteArray::fromHex(
                                       "424d36000000000000003600000028000000a0860100a0860100"
                                       "010018000000000000000000130b0000130b00000000000000000000")),
         }) {
        gui.dialogs.answers = {file};
        gui.chooseMenu({"image", "imagelibre"});
        EXPECT_EQ(gui.state.FreeImageFile, good) << file;
        EXPECT_EQ(rgbAt(shown(gui.picture1), {5, 5}), kBlue) << file;
        EXPECT_EQ(rgbAt(shown(gui.picture1), {10, 10}), kRed) << file;
    }
    EXPECT_TRUE(gui.picture2.picture().isNull()); // the loaded view was not touched
}

// --- A study from the menus over an opened mesh file; the mesh file saved and reopened.

// One triangle whose node 2 lies one unit further right on the loaded image.
const std::string kStretched =
    "[init]\r\nnode=3\r\nmesh=1\r\n"
    "[freenodelist]\r\nnodex1=0\r\nnodey1=0\r\nnodex2=100\r\nnodey2=0\r\nnodex3=0\r\nnodey3=100\r\n"
    "[loadnodelist]\r\nnodex1=0\r\nnodey1=0\r\nnodex2=101\r\nnodey2=0\r\nnodex3=0\r\nnodey3=100\r\n"
    "[freemeshlist]\r\nmesh11=1\r\nmesh21=2\r\nmesh31=3\r\n";

// A right click on the map window, then a left click on the entry of the menu it opens.
void chooseFromMapMenu(GuiHarness& gui, const char* entry)
{
    QTest::mouseClick(gui.app.form2().windowHandle(), Qt::RightButton, {}, QPoint(500, 400));
    auto* menu = gui.app.form2().findChild<QMenu*>("mapMenu");
    ASSERT_TRUE(menu && QTest::qWaitFor([menu] { return menu->isVisible(); }) &&
                QTest::qWaitForWindowExposed(menu));
    auto* action = menu->findChild<QAction*>(entry);
    ASSERT_TRUE(action && action->isEnabled()) << entry;
    QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {},
                      menu->actionGeometry(action).center());
    EXPECT_TRUE(QTest::qWaitFor([menu] { return !menu->isVisible(); }));
}

TEST(StudyMap, AStudyCommandPaintsTheMapWhoseMenuSavesItsPictureAndValues)
{
    GuiHarness gui;
    ui::Form2& map = gui.app.form2();
    // A grey photograph, the triangle, sigma xx in plane stress with E 75 and nu 0,25.
    constexpr QRgb kGrey = 0xC8C8C8u, kMiddle = 0x00FF05u; // the photograph; a range of 0
    gui.files.files["triangle.MEF"] = kStretched;
    gui.dialogs.answers = {gui.write("libre.bmp", {900, 330}, kGrey), "triangle.MEF"};
    gui.chooseMenu({"image", "imagelibre"});
    gui.chooseMenu({"meshmenu", "io", "open"});
    gui.moveOver("Label7");
    gui.moveOver("Label5");
    gui.typeInto("Text1", "75");
    gui.typeInto("Text2", "0,25");
    gui.chooseMenu({"study", "ctrtpla", "sxxctrteplane"});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    EXPECT_EQ(map.windowTitle(), QStringLiteral("Carte des contraintes"));
    EXPECT_TRUE(map.findChild<QLabel*>("Label1")->font().italic());
    EXPECT_EQ(map.size(), QSize(1016, 444));
    EXPECT_EQ(map.windowFlags() & (Qt::WindowType_Mask | Qt::WindowMinMaxButtonsHint), Qt::Tool);
    EXPECT_EQ(gui.status(), "Calcul effectué.");
    // A strain of -1 % along x under plane stress: |75 / (1 - 0,25²) x 0,01| at every node.
    QStringList texts;
    for (const char* label : {"Label1", "Label2", "Label3"})
        texts << map.findChild<QLabel*>(label)->text();
    EXPECT_EQ(texts.join('|').toStdString(), "Constrainte normale selon x en MPa|0,8|0,8");
    const QImage picture = shown(map);
    for (const QPoint node : {QPoint(0, 0), QPoint(7, 0), QPoint(0, 7)})
        EXPECT_EQ(rgbAt(picture, node), kMiddle);
    EXPECT_EQ(rgbAt(picture, {600, 50}), kGrey);
    EXPECT_EQ(rgbAt(picture, {877, 266}), 0x0003FEu); // the colour bar's bottom and top rows
    EXPECT_EQ(rgbAt(picture, {877, 12}), 0xFF4300u);

    // The material changes after the study; the map's picture and tables do not.
    gui.moveOver("Label7");
    gui.moveOver("Label5");
    gui.typeInto("Text1", "150");
    gui.dialogs.answers = {"carte",        "noeuds.csv", "elements",
                           "incertitudes", std::nullopt, "carte.PNG"};
    chooseFromMapMenu(gui, "savePicture");
    const QImage png = QImage::fromData(QByteArray::fromStdString(gui.files.files["carte.png"]));
    EXPECT_EQ(png.size(), QSize(1016, 444));
    EXPECT_EQ(rgbAt(png, {7, 0}), kMiddle);
    chooseFromMapMenu(gui, "saveNodeValues");
    chooseFromMapMenu(gui, "saveElementValues");
    chooseFromMapMenu(gui, "saveUncertaintyPicture");
    chooseFromMapMenu(gui, "saveNodeValues"); // cancelled
    EXPECT_NE(gui.files.files["noeuds.csv"].find("\r\n2,100,0,101,0,-1,0,1,0.8,"),
              std::string::npos);
    EXPECT_NE(gui.files.files["elements.csv"].find("\r\n1,1,2,3,10000,-0.01,0,0,-0.8,"),
              std::string::npos);
    EXPECT_EQ(gui.files.files.size(), 5u);
    // The map of the standard deviations: the study's material, the map's photograph.
    {
        const Material studied{75, 0.25};
        const auto uncertainty = studyUncertainty(gui.state, 3, studied, Component::Sxx, true);
        ui::OffscreenMap expected;
        paintStressMap(
            buildUncertaintyMap(gui.state, 3, uncertainty, Component::Sxx, {','}).value(),
            expected, gui.state.FreeImageFile);
        EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(gui.files.files["incertitudes.png"])),
                  QImage::fromData(expected.png()));
        EXPECT_NE(QImage::fromData(expected.png()), png) << "its own title and labels";
    }
    gui.files.failure = "disque plein"; // a name with the extension keeps it
    chooseFromMapMenu(gui, "savePicture");
    EXPECT_EQ(gui.messages.shown.back(),
              "L'image n'a pas pu être enregistrée dans le fichier \"carte.PNG\" : disque plein");

    // The main window stays usable; a hide keeps its status and the map, a close by the user
    // sets the status.
    gui.chooseMenu({"meshmenu", "node"});
    map.hide();
    EXPECT_EQ(gui.status(), "Cliquer sur la structure libre pour créer un noeud.");
    map.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    EXPECT_EQ(rgbAt(shown(map), {7, 0}), kMiddle);
    map.close();
    EXPECT_EQ(gui.status(), "Calcul effectué.");
}

TEST(MeshFile, SavedAndReopenedThroughTheDialogsWithItsCountsInTheMessageBox)
{
    GuiHarness gui;
    gui.files.files["triangle.MEF"] = kStretched;
    gui.dialogs.answers = {"triangle.MEF", "etude", "etude.MEF"};
    gui.chooseMenu({"meshmenu", "io", "open"});
    gui.chooseMenu({"meshmenu", "io", "save"});
    EXPECT_EQ(gui.files.files["etude.MEF"], kStretched);
    gui.chooseMenu({"meshmenu", "io", "open"});
    EXPECT_EQ(gui.messages.shown, std::vector<std::string>(2, "3 noeuds et 1 élément(s)"));
}

} // namespace
} // namespace ai::test

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // no display needed
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
