// The picture views: photographs at natural size, the overlay in view units, the decoded
// picture kept until the file or its name changes, and files that cannot be shown.
#include "gui_harness.h"

#include <QByteArray>
#include <QDataStream>
#include <QTest>

#include <filesystem>

#include <gtest/gtest.h>

namespace ai::test {
namespace {

constexpr QRgb kBlue = 0x0000FFu;
constexpr QRgb kGreen = 0x00FF00u;
constexpr Rgb kEdge{0, 120, 215};

// The header of a 24-bit BMP that claims `width` x `height` pixels and holds none.
QByteArray bmpHeaderOnly(qint32 width, qint32 height)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("BM", 2);
    out << quint32(54) << quint32(0) << quint32(54);
    out << quint32(40) << width << height << quint16(1) << quint16(24);
    out << quint32(0) << quint32(0) << qint32(2835) << qint32(2835) << quint32(0) << quint32(0);
    return bytes;
}

TEST(PictureView, ShowsThePhotographAtNaturalSizeWithTheOverlayInViewUnits)
{
    GuiHarness gui;
    PictureFolder folder;
    ui::ImageViewWidget& view = gui.picture1();
    const QSize inside = view.contentsRect().size();

    // The usual formats; a large photograph keeps only the part the view shows.
    for (const char* format : {"BMP", "PNG", "JPG", "TIFF"}) {
        const std::string file =
            folder.write((std::string("small.") + format).c_str(), {40, 30}, Qt::blue, format);
        ASSERT_TRUE(view.importPicture(file)) << format;
        EXPECT_EQ(view.picture().size(), QSize(40, 30)) << format;
    }
    const QByteArray gif =
        QByteArray::fromBase64("R0lGODlhAQABAIAAAAUEBAAAACwAAAAAAQABAAACAkQBADs=");
    ASSERT_TRUE(view.importPicture(folder.writeBytes("dot.gif", gif)));
    EXPECT_EQ(view.picture().size(), QSize(1, 1));
    const std::string large = folder.write("large.png", {3000, 2000}, Qt::blue, "PNG");
    ASSERT_TRUE(view.importPicture(large));
    EXPECT_EQ(view.picture().size(), inside);

    const std::string photo = folder.write("photo.bmp", {400, 200}, Qt::blue);
    ASSERT_TRUE(view.importPicture(photo));
    view.drawPoint(1500, 750, Rgb{255, 0, 0});
    view.drawPoint(1510, 740, Rgb{255, 0, 0}); // the nearest pixel: one to the right
    view.drawLine(6000, 3000, 6150, 3150, kEdge);
    view.drawPoint(7500, 4500, Rgb{255, 0, 0}); // beyond the photograph, inside the view
    QImage shown = GuiHarness::shown(view);
    EXPECT_EQ(rgbAt(shown, {100, 50}), kRed);
    EXPECT_EQ(rgbAt(shown, {101, 49}), kRed);
    for (int step = 0; step <= 10; ++step)
        EXPECT_EQ(rgbAt(shown, {400 + step, 200 + step}), 0x0078D7u) << step;
    EXPECT_EQ(rgbAt(shown, {500, 300}), kRed);
    EXPECT_EQ(rgbAt(shown, {10, 10}), kBlue);
    EXPECT_NE(rgbAt(shown, {450, 10}), kBlue); // right of the photograph

    // Covered and uncovered, the window repaints photograph and overlay alike.
    gui.form1().hide();
    gui.form1().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&gui.form1()));
    shown = GuiHarness::shown(view);
    EXPECT_EQ(rgbAt(shown, {100, 50}), kRed);
    EXPECT_EQ(rgbAt(shown, {10, 10}), kBlue);

    // The next restore takes the overlay away.
    view.restorePicture(photo);
    shown = GuiHarness::shown(view);
    EXPECT_EQ(rgbAt(shown, {100, 50}), kBlue);
    EXPECT_NE(rgbAt(shown, {500, 300}), kRed);
}

TEST(PictureView, KeepsTheDecodedPictureUntilTheFileOrItsNameChanges)
{
    GuiHarness gui;
    PictureFolder folder;
    ui::ImageViewWidget& view = gui.picture2();
    const std::string first = folder.write("first.bmp", {40, 30}, Qt::blue);
    const std::string second = folder.write("second.bmp", {40, 30}, Qt::green);
    ASSERT_TRUE(view.importPicture(first));
    const auto stamp = std::filesystem::last_write_time(first);

    // Same name, same size, same time: the picture decoded at the import is shown.
    folder.write("first.bmp", {40, 30}, Qt::red);
    std::filesystem::last_write_time(first, stamp);
    view.restorePicture(first);
    EXPECT_EQ(rgbAt(view.picture(), {5, 5}), kBlue);

    // A file written since is read again.
    std::filesystem::last_write_time(first, stamp + std::chrono::seconds(5));
    view.restorePicture(first);
    EXPECT_EQ(rgbAt(view.picture(), {5, 5}), kRed);

    // Another name takes effect at once.
    view.restorePicture(second);
    EXPECT_EQ(rgbAt(view.picture(), {5, 5}), kGreen);

    // A remembered file that disappears or turns into something else gives an empty view
    // that still takes the overlay.
    std::filesystem::remove(second);
    view.restorePicture(second);
    EXPECT_TRUE(view.picture().isNull());
    folder.writeBytes("first.bmp", "no longer a picture");
    view.restorePicture(first);
    EXPECT_TRUE(view.picture().isNull());
    view.drawPoint(150, 150, Rgb{255, 0, 0});
    EXPECT_EQ(rgbAt(GuiHarness::shown(view), {10, 10}), kRed);
    view.restorePicture("");
    EXPECT_TRUE(view.picture().isNull());
}

TEST(PictureView, AFileThatCannotBeShownLeavesTheViewAsItWas)
{
    GuiHarness gui;
    PictureFolder folder;
    ui::ImageViewWidget& view = gui.picture1();
    const std::string good = folder.write("good.bmp", {40, 30}, Qt::blue);
    ASSERT_TRUE(view.importPicture(good));
    view.drawPoint(150, 150, Rgb{255, 0, 0});

    const std::string refused[] = {
        folder.path("missing.bmp"),
        folder.writeBytes("garbage.png", QByteArray(4096, '\x5a')),
        folder.writeBytes("notes.txt", "Module de Young: 1\n"),
        folder.writeBytes("truncated.bmp", bmpHeaderOnly(40, 30).left(20)),
        // Claims 100 000 x 100 000 pixels: refused before anything is allocated.
        folder.writeBytes("huge.bmp", bmpHeaderOnly(100000, 100000)),
        folder.path(""), // the folder itself
        "",
    };
    for (const std::string& file : refused) {
        EXPECT_FALSE(view.importPicture(file)) << file;
        const QImage shown = GuiHarness::shown(view);
        EXPECT_EQ(rgbAt(shown, {5, 5}), kBlue) << file;
        EXPECT_EQ(rgbAt(shown, {10, 10}), kRed) << file;
    }
    // The picture still kept is the good one, under its own name.
    view.restorePicture(good);
    EXPECT_EQ(rgbAt(view.picture(), {5, 5}), kBlue);
}

TEST(PictureView, AFailedImportAfterAGoodOneKeepsThePictureAndItsNameForLaterReloads)
{
    GuiHarness gui;
    PictureFolder folder;
    const std::string good = folder.write("libre.bmp", {60, 40}, Qt::blue);
    const std::string bad =
        folder.writeBytes("libre2.jpg", QByteArray("\xFF\xD8\xFF not really", 14));

    gui.dialogs.answers = {good, bad, std::nullopt};
    gui.chooseMenu({"image", "imagelibre"});
    EXPECT_EQ(gui.state().FreeImageFile, good);
    gui.chooseMenu({"image", "imagelibre"});
    EXPECT_EQ(gui.state().FreeImageFile, good);
    gui.chooseMenu({"image", "imagelibre"}); // cancelled
    EXPECT_EQ(gui.state().FreeImageFile, good);
    EXPECT_EQ(gui.dialogs.titles, std::vector<std::string>(3, "Récupérer un fichier image"));
    EXPECT_EQ(rgbAt(GuiHarness::shown(gui.picture1()), {5, 5}), kBlue);

    // The loaded view was not touched, and an erase reloads the good picture.
    EXPECT_EQ(gui.state().LoadImageFile, "");
    EXPECT_TRUE(gui.picture2().picture().isNull());
    gui.chooseMenu({"meshmenu", "erase", "eff"});
    EXPECT_EQ(rgbAt(GuiHarness::shown(gui.picture1()), {5, 5}), kBlue);
}

} // namespace
} // namespace ai::test
