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

// A PNG chunk with its length and CRC.
QByteArray pngChunk(const char* type, const QByteArray& data, quint32 claimed = 0)
{
    QByteArray typed = QByteArray(type) + data;
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : typed) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    const auto big = [](quint32 v) {
        return QByteArray::fromHex(QByteArray::number(v, 16).rightJustified(8, '0'));
    };
    return big(claimed ? claimed : static_cast<quint32>(data.size())) + typed + big(~crc);
}

QByteArray pngHeader(int width, int height)
{
    const QByteArray size = QByteArray::fromHex(
        QByteArray::number(width, 16).rightJustified(8, '0') +
        QByteArray::number(height, 16).rightJustified(8, '0') + "0802000000");
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + pngChunk("IHDR", size);
}

// A BMP header (14 + 40 bytes) and what follows it.
QByteArray bmp(int width, int height, int bits, int compression, int offset, int length)
{
    QByteArray bytes(std::max(length, 54), '\0');
    const auto put = [&](int at, quint32 v, int n) {
        for (int i = 0; i < n; ++i)
            bytes[at + i] = static_cast<char>(v >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, length, 4);
    put(10, offset, 4);
    put(14, 40, 4);
    put(18, width, 4);
    put(22, height, 4);
    put(26, 1, 2);
    put(28, bits, 2);
    put(30, compression, 4);
    return bytes.left(length);
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

// Each crafted file is refused for what it is, from its header when the header tells, and
// never handed to another decoder; a photograph over the limit says its size.
TEST(PictureDecoder, RefusesCraftedFilesForWhatTheyAre)
{
    const Folder folder;
    QByteArray half;
    {
        QBuffer buffer(&half);
        ASSERT_TRUE(pattern({200, 100}).convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP"));
        half.truncate(54 + 600 * 50);
    }
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        ASSERT_TRUE(pattern({64, 48}).save(&buffer, "JPEG"));
    }
    QByteArray hugeJpeg = jpeg;
    const qsizetype frame = hugeJpeg.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    hugeJpeg.replace(frame + 5, 4, QByteArray::fromHex("2af82af8")); // 11000 x 11000
    QByteArray tiff;
    {
        QBuffer buffer(&tiff);
        ASSERT_TRUE(pattern({300, 200}).convertToFormat(QImage::Format_RGB888).save(&buffer, "TIFF"));
    }
    const QByteArray png = pngHeader(640, 480);
    const struct {
        const char* name;
        QByteArray bytes;
        F failure;
        bool sizeKnown = false; // the header is whole: the damage is found in the pixels
    } files[] = {
        // A text chunk claiming 2^31 - 1 bytes: refused without allocating them.
        {"text.png", pngHeader(1, 1) + QByteArray::fromHex("7fffffff") + "tEXtabc", F::Damaged},
        {"drawing.png", "<svg xmlns='http://www.w3.org/2000/svg' width='10000' height='10000'/>",
         F::NotAPhotograph},
        {"empty.jpg", "", F::NotAPhotograph},
        {"anim.gif", "GIF89a\x01\x00\x01\x00", F::NotAPhotograph},
        {"cut.png", png + pngChunk("IDAT", QByteArray::fromHex("789c0000")), F::Damaged, true},
        {"huge.png", pngHeader(11000, 11000) + pngChunk("IDAT", "x"), F::TooLarge},
        {"huge.jpg", hugeJpeg, F::TooLarge},
        {"cut.tiff", tiff.left(tiff.size() / 2), F::Damaged},
        {"half.bmp", half, F::Damaged},
        {"claims.bmp", bmp(11000, 11000, 24, 0, 54, 310), F::Damaged},
        {"inside.bmp", bmp(10, 10, 24, 0, 20, 54 + 320), F::Damaged},
        {"noruns.bmp", bmp(10, 10, 8, 1, 1078, 1078), F::Damaged},
        {"shortruns.bmp", bmp(10, 10, 8, 1, 1078, 1078) + QByteArray::fromHex("0a01000"), F::Damaged, true},
        {"png.bmp", bmp(10, 10, 24, 5, 54, 100), F::NotAPhotograph},
    };
    for (const auto& file : files) {
        const std::string path = folder.write(file.name, file.bytes);
        ui::PictureError sizeError, regionError, greyError;
        EXPECT_EQ(ui::photographSize(path, &sizeError).has_value(), file.sizeKnown) << file.name;
        EXPECT_FALSE(ui::decodeRegion(path, QRect(0, 0, 100, 100), 1, &regionError)) << file.name;
        EXPECT_FALSE(ui::decodeGreyLevels(path, &greyError)) << file.name;
        EXPECT_EQ(std::tuple(file.sizeKnown ? file.failure : sizeError.failure,
                             regionError.failure, greyError.failure),
                  std::tuple(file.failure, file.failure, file.failure))
            << file.name;
    }
    // Qt's reader shows a JPEG cut short as it shows it elsewhere, grey where data is missing;
    // the correlation refuses it.
    ui::PictureError cut;
    EXPECT_FALSE(ui::decodeGreyLevels(folder.write("cut.jpg", jpeg.left(jpeg.size() - 64)), &cut));
    EXPECT_EQ(cut.failure, F::Damaged);
    const std::string text =
        ui::pictureFailureText("a.png", {F::TooLarge, QSize(11000, 11000)});
    EXPECT_NE(text.find("11000 × 11000 pixels"), std::string::npos) << text;
    EXPECT_NE(text.find("100 millions"), std::string::npos) << text;
}

} // namespace
} // namespace ai::test
