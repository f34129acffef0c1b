// The photograph decoders against Qt's own decoding, and against crafted hostile files.
#include "ui/picture_decoder.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <cmath>

#include <gtest/gtest.h>

namespace ai::test {
namespace {

using F = ui::PictureFailure;

// A test pattern with every channel varying; `soft` keeps the colours of a photograph,
// whose JPEG colour transform clips none.
QImage pattern(QSize size, bool soft = false)
{
    QImage image(size, QImage::Format_ARGB32);
    const auto level = [soft](int v) { return soft ? 96 + v % 64 : v % 256; };
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgba(level(x), level(y), level(x * y), (x + 3 * y) % 256));
    return image;
}

QImage shownForm(const QImage& image)
{
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                          : QImage::Format_RGB32);
}

// One pixel out of `step` of `region` of `whole`.
QImage sampled(const QImage& whole, QRect region, int step)
{
    const QImage part = shownForm(whole.copy(region));
    QImage kept((part.width() + step - 1) / step, (part.height() + step - 1) / step, part.format());
    for (int j = 0; j < kept.height(); ++j)
        for (int i = 0; i < kept.width(); ++i)
            kept.setPixel(i, j, part.pixel(i * step, j * step));
    return kept;
}

// Qt's reduced JPEG decoding: the whole picture at 1/step, clipped.
QImage jpegReduced(const QString& file, QRect region, int step)
{
    QImageReader reader(file);
    const QSize full = reader.size();
    reader.setScaledSize(QSize((full.width() + step - 1) / step, (full.height() + step - 1) / step));
    const QRect scaled(region.x() / step, region.y() / step,
                       (region.width() + step - 1) / step, (region.height() + step - 1) / step);
    return shownForm(reader.read().copy(scaled));
}

// Qt's grey conversion, or the luma of JPEG's own colour transform.
std::vector<std::uint8_t> greyOf(const QImage& image, bool luma)
{
    const QImage grey = shownForm(image).convertToFormat(QImage::Format_Grayscale8);
    std::vector<std::uint8_t> levels;
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            levels.push_back(luma ? static_cast<std::uint8_t>(std::lround(
                                        0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c)))
                                  : grey.constScanLine(y)[x]);
        }
    return levels;
}

int largestDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    int most = a.size() == b.size() ? 0 : 256;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        most = std::max(most, std::abs(a[i] - b[i]));
    return most;
}

struct Folder {
    QTemporaryDir dir;
    std::string write(const char* name, const QByteArray& bytes) const
    {
        QFile out(dir.filePath(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        return out.fileName().toStdString();
    }
    std::string save(const char* name, const QImage& image, const char* format,
                     int compression = -1) const
    {
        QImageWriter writer(dir.filePath(name), format);
        if (compression >= 0)
            writer.setCompression(compression);
        EXPECT_TRUE(writer.write(image)) << name;
        return dir.filePath(name).toStdString();
    }
};

TEST(PictureDecoder, RegionsStepsAndGreyLevelsAreThoseOfQtsWholeDecoding)
{
    const Folder folder;
    const QImage base = pattern({700, 260});
    const struct {
        const char* name;
        QImage image;
        const char* format;
        int compression = -1;
    } kinds[] = {
        {"rgb.png", base.convertToFormat(QImage::Format_RGB32), "PNG"},
        {"rgba.png", base, "PNG"},
        {"grey.png", base.convertToFormat(QImage::Format_Grayscale8), "PNG"},
        {"grey16.png", base.convertToFormat(QImage::Format_Grayscale16), "PNG"},
        {"rgba64.png", base.convertToFormat(QImage::Format_RGBA64), "PNG"},
        {"palette.png", base.convertToFormat(QImage::Format_Indexed8), "PNG"},
        {"rgb.bmp", base.convertToFormat(QImage::Format_RGB32), "BMP"},
        {"narrow.bmp", base.copy(0, 0, 301, 200).convertToFormat(QImage::Format_RGB888), "BMP"},
        {"palette.bmp", base.convertToFormat(QImage::Format_Indexed8), "BMP"},
        {"mono.bmp", base.convertToFormat(QImage::Format_Mono), "BMP"},
        {"rgba.bmp", base, "BMP"},
        {"rgb.tiff", base.convertToFormat(QImage::Format_RGB888), "TIFF"},
        {"lzw.tiff", base.convertToFormat(QImage::Format_RGB888), "TIFF", 1},
        {"grey.tiff", base.convertToFormat(QImage::Format_Grayscale8), "TIFF"},
        {"rgba.tiff", base, "TIFF"},
        {"palette.tiff", base.convertToFormat(QImage::Format_Indexed8), "TIFF"},
        {"mono.tiff", base.convertToFormat(QImage::Format_Mono), "TIFF"},
        {"colour.jpg", pattern({700, 260}, true).convertToFormat(QImage::Format_RGB32), "JPEG"},
        {"grey.jpg", base.convertToFormat(QImage::Format_Grayscale8), "JPEG"},
    };
    const QRect regions[] = {QRect(0, 0, 700, 260), QRect(37, 11, 300, 200), QRect(650, 250, 100, 100)};
    for (const auto& kind : kinds) {
        const std::string path = folder.save(kind.name, kind.image, kind.format, kind.compression);
        const QString file = QString::fromStdString(path);
        const QImage whole(file);
        const bool jpeg = std::string_view(kind.format) == "JPEG";
        EXPECT_EQ(ui::photographSize(path), std::optional(whole.size())) << kind.name;
        for (const QRect& region : regions)
            for (const int step : {1, 2, 3, 8}) {
                if (jpeg && step == 3)
                    continue;
                const QRect clipped = region.intersected(whole.rect());
                ui::PictureError error;
                const auto decoded = ui::decodeRegion(path, region, step, &error);
                ASSERT_TRUE(decoded.has_value()) << kind.name << int(error.failure);
                if (clipped.isEmpty()) {
                    EXPECT_TRUE(decoded->isNull()) << kind.name;
                    continue;
                }
                const QImage expected = jpeg && step > 1 ? jpegReduced(file, clipped, step)
                                                         : sampled(whole, clipped, step);
                EXPECT_EQ(std::tuple(decoded->format(), decoded->size()),
                          std::tuple(expected.format(), expected.size()))
                    << kind.name << " step " << step;
                EXPECT_TRUE(*decoded == expected) << kind.name << " step " << step;
            }
        const auto grey = ui::decodeGreyLevels(path);
        ASSERT_TRUE(grey) << kind.name;
        EXPECT_EQ(std::tuple(grey->width, grey->height), std::tuple(whole.width(), whole.height()));
        // JPEG's grey is the file's own luma channel, which its colours were made from.
        EXPECT_LE(largestDifference(grey->levels, greyOf(whole, jpeg)), jpeg ? 2 : 0) << kind.name;
    }
}

} // namespace
} // namespace ai::test
