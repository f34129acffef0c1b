// The window "Courbes" through the real windows: an extensometer picked on the free view with
// the pointer, its curve shown, then saved from the window's context menu.
#include "support/csv_records.h"
#include "support/gui_driving.h"
#include "support/small_studies.h"
#include "ui/application.h"
#include "ui/image_view_widget.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace ai::test {
namespace {

struct CurvesWindow : ::testing::Test, ShownWindows {};

TEST_F(CurvesWindow, AnExtensometerPickedWithThePointerShowsItsCurveWhichSavesAsCsvAndPng)
{
    MainController& c = app.controller();
    // 3 x 3 nodes 30 pixels apart from (30, 30), stretched by 525 / 450 along x.
    stretchedGrid(c, 450);

    const auto choose = [&](const char* name) { form1.findChild<QAction*>(name)->trigger(); };
    const auto click = [&](int X, int Y) {
        ui::ImageViewWidget& view = form1.picture1();
        const QPoint at = view.mapTo(&form1, view.contentsRect().topLeft() + QPoint(X / 15, Y / 15));
        QTest::mouseClick(form1.windowHandle(), Qt::LeftButton, {}, at);
    };
    choose("extensometrevirtuel");
    click(450, 450);
    click(1350, 450);
    EXPECT_EQ(c.curveSelection().items, (std::vector<int>{1, 7}));
    choose("affichercourbe");
    ui::CurvesWindow& window = app.curves();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Courbes"));
    EXPECT_TRUE(messages.shown.empty());

    // The window draws its dot in the curve's colour; the PNG is the same painting, larger.
    const auto hasCurve = [](const QImage& image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFFu) == 0x0046A0u)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasCurve(window.grab().toImage()));
    dialogs.answers = {"courbe", "courbe.png"};
    window.menu().findChild<QAction*>("saveCurveCsv")->trigger();
    window.menu().findChild<QAction*>("saveCurvePng")->trigger();
    const auto rows = csvRecords(files.files.at("courbe.csv"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"step", "photograph", "value", "sd"}));
    EXPECT_EQ(rows[1][0], "1");
    EXPECT_NEAR(csvNumber(rows[1][2]), 1050.0 / 900 - 1, 1e-12);
    const QByteArray png = QByteArray::fromStdString(files.files.at("courbe.png"));
    const QImage picture = QImage::fromData(png, "PNG");
    EXPECT_EQ(picture.size(), QSize(1200, 800));
    EXPECT_TRUE(hasCurve(picture));
    // A write that fails says so.
    files.failure = "disque plein";
    dialogs.answers = {"autre.csv"};
    window.menu().findChild<QAction*>("saveCurveCsv")->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].find("disque plein"), std::string::npos);
}

} // namespace
} // namespace ai::test
