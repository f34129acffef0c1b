// A load sequence through the real windows: the menu, the step selector moved by a key, the
// map redrawn for the step and its scale chosen in the map's menu.
#include "correlation/synthetic_speckle.h"
#include "support/fakes.h"
#include "ui/application.h"
#include "ui/form2.h"
#include "ui/image_view_widget.h"
#include "ui/map_canvas.h"
#include "ui/views_placement.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace ai::test {
namespace {

// A click on each entry in turn, from the menu bar down, e.g. {"image", "imgsequence"}.
void chooseMenu(ui::Form1& form1, std::initializer_list<const char*> path)
{
    QWidget* opener = form1.menuBar();
    for (const char* name : path) {
        auto* submenu = form1.findChild<QMenu*>(name);
        QAction* entry = submenu ? submenu->menuAction() : form1.findChild<QAction*>(name);
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

// The entries of the map window's menu as a right click opens it; a click on `entry`.
QStringList chooseFromMapMenu(ui::Form2& map, const char* entry)
{
    QTest::mouseClick(map.windowHandle(), Qt::RightButton, {}, QPoint(500, 300));
    auto* menu = map.findChild<QMenu*>("mapMenu");
    EXPECT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }) &&
                QTest::qWaitForWindowExposed(menu));
    QStringList entries;
    for (QAction* action : menu->actions())
        entries << action->objectName();
    QAction* action = map.findChild<QAction*>(entry);
    QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {},
                      menu->actionGeometry(action).center());
    EXPECT_TRUE(QTest::qWaitFor([menu] { return !menu->isVisible(); }));
    return entries;
}

// The speckle stretched along x about column 105 by `stretch`, as an 8-bit grey BMP.
std::string writeSpeckle(const QTemporaryDir& folder, const char* name, double stretch)
{
    static const testing::SyntheticSpeckle dots(240, 180);
    const GreyImage grey =
        dots.render([stretch](double& x, double&) { x = 105 + (x - 105) / (1 + stretch); });
    QImage image(grey.width, grey.height, QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height; ++y)
        std::copy_n(grey.levels.begin() + y * grey.width, grey.width, image.scanLine(y));
    const QString path = folder.filePath(QString::fromLatin1(name));
    EXPECT_TRUE(image.save(path, "BMP"));
    return path.toStdString();
}

// Four nodes at their free places, pixels (60, 60) to (150, 120), in two triangles.
const std::string kSquare =
    "[init]\r\nnode=4\r\nmesh=2\r\n"
    "[freenodelist]\r\nnodex1=900\r\nnodey1=900\r\nnodex2=2250\r\nnodey2=900\r\n"
    "nodex3=900\r\nnodey3=1800\r\nnodex4=2250\r\nnodey4=1800\r\n"
    "[loadnodelist]\r\nnodex1=900\r\nnodey1=900\r\nnodex2=2250\r\nnodey2=900\r\n"
    "nodex3=900\r\nnodey3=1800\r\nnodex4=2250\r\nnodey4=1800\r\n"
    "[freemeshlist]\r\nmesh11=1\r\nmesh21=2\r\nmesh31=3\r\nmesh12=2\r\nmesh22=4\r\nmesh32=3\r\n";

TEST(SequenceWindows, TheSelectorShowsEachStepAndTheMapItsValuesOnTheScaleChosen)
{
    FakeMessages messages;
    FakeDialogs dialogs;
    MemoryFiles files;
    FakeNumbers numbers;
    ui::Application app{messages, dialogs, files, Settings{NumberFormat{','}, Rgb{0, 120, 215}},
                        &numbers};
    ui::Form1& form1 = app.form1();
    form1.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form1) && QTest::qWaitForWindowActive(&form1));
    const QRect loadedView = form1.picture2().geometry();
    QTemporaryDir folder;
    const std::string s10 = writeSpeckle(folder, "s10.bmp", 0.03);
    const std::string s2 = writeSpeckle(folder, "s2.bmp", 0.02);
    const std::string s1 = writeSpeckle(folder, "s1.bmp", 0.01);
    files.files["carre.MEF"] = kSquare;
    dialogs.answers = {writeSpeckle(folder, "libre.bmp", 0), s10 + "|" + s2 + "|" + s1,
                       "carre.MEF"};
    chooseMenu(form1, {"image", "imagelibre"});
    chooseMenu(form1, {"image", "imgsequence"});
    chooseMenu(form1, {"meshmenu", "io", "open"});

    // The selector, in a row below the window's controls, which keep their places.
    auto* slider = form1.findChild<QSlider*>("stepSlider");
    auto* caption = form1.findChild<QLabel*>("stepCaption");
    ASSERT_TRUE(slider && caption && form1.statusBar()->isVisible());
    EXPECT_EQ(std::tuple(slider->minimum(), slider->maximum(), slider->value()),
              std::tuple(1, 3, 1));
    EXPECT_EQ(caption->text(), QStringLiteral("Étape 1/3 : s1.bmp"));
    EXPECT_EQ(form1.picture2().geometry(), loadedView);

    chooseMenu(form1, {"correlation", "localisercorrelation"});
    ASSERT_EQ(app.controller().sequence().steps.size(), 3u);
    chooseMenu(form1, {"study", "ctrtpla", "sxxctrteplane"});
    ui::Form2& map = app.form2();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    const auto texts = [&map] {
        return map.findChild<QLabel*>("Label2")->text() + "|" +
               map.findChild<QLabel*>("Label3")->text();
    };
    const QString common = texts();

    // A key moves the thumb: step 2's photograph and nodes, at the zoom the views had; the
    // common scale stays.
    const double x2 = app.controller().state().LoadNodes[2].x;
    form1.viewsPlacement().zoomBy(4);
    const double zoom = form1.viewsPlacement().transform().zoom;
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(form1.viewsPlacement().transform().zoom, zoom);
    EXPECT_EQ(caption->text(), QStringLiteral("Étape 2/3 : s2.bmp"));
    EXPECT_EQ(app.controller().state().LoadImageFile, s2);
    EXPECT_NEAR(app.controller().state().LoadNodes[2].x - x2, 15 * 45 * 0.01, 1.5);
    EXPECT_EQ(texts(), common);

    // The map's menu holds the scale pair for a sequence; the step's own scale differs.
    EXPECT_TRUE(chooseFromMapMenu(map, "stepScale").contains(QStringLiteral("commonScale")));
    EXPECT_FALSE(app.controller().commonMapScale());
    EXPECT_NE(texts(), common);
    chooseFromMapMenu(map, "commonScale");
    EXPECT_EQ(texts(), common);
    // A readable map stays readable from step to step.
    chooseFromMapMenu(map, "signedStyle");
    QTest::keyClick(slider, Qt::Key_Left);
    EXPECT_EQ(app.controller().state().LoadImageFile, s1);
    EXPECT_TRUE(map.canvas().styled());

    // A single loaded photograph hides the selector.
    dialogs.answers = {s10};
    chooseMenu(form1, {"image", "imgcharge"});
    EXPECT_FALSE(form1.statusBar()->isVisible());
    EXPECT_EQ(messages.shown.size(), 2u); // the mesh file's counts, the correlation's
}

} // namespace
} // namespace ai::test
