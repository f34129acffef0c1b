// A load sequence through the real windows: the menu, the step selector moved by a key, the
// map redrawn for the step and its scale chosen in the map's menu.
#include "support/gui_driving.h"
#include "support/small_studies.h"
#include "ui/application.h"
#include "ui/image_view_widget.h"
#include "ui/map_canvas.h"
#include "ui/views_placement.h"

#include <QImage>
#include <QLabel>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace ai::test {
namespace {

// The speckle stretched along x by `stretch`, as an 8-bit grey BMP.
std::string writeSpeckle(const QTemporaryDir& folder, const char* name, double stretch)
{
    const GreyImage grey = speckleAt({stretch});
    QImage image(grey.levels.data(), grey.width, grey.height, grey.width,
                 QImage::Format_Grayscale8);
    const QString path = folder.filePath(QString::fromLatin1(name));
    EXPECT_TRUE(image.save(path, "BMP"));
    return path.toStdString();
}

struct SequenceWindows : ::testing::Test, ShownWindows {};

TEST_F(SequenceWindows, TheSelectorShowsEachStepAndTheMapItsValuesOnTheScaleChosen)
{
    const QRect loadedView = form1.picture2().geometry();
    QTemporaryDir folder;
    const std::string s10 = writeSpeckle(folder, "s10.bmp", 0.03);
    const std::string s2 = writeSpeckle(folder, "s2.bmp", 0.02);
    const std::string s1 = writeSpeckle(folder, "s1.bmp", 0.01);
    files.files["carre.MEF"] = squareMeshFile();
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
