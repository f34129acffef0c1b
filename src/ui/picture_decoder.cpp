#include "ui/picture_decoder.h"

#include "ui/jpeg_grey.h"
#include "ui/picture_rows.h"

#include <QImageReader>
#include <QString>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace ai::ui {

namespace {

enum class Kind { Jpeg, Png, Tiff, Bmp };

// The format by the file's first bytes, whatever its name says; only regular files are
// opened, so that a FIFO or a device never blocks the program.
std::optional<Kind> kindOf(const std::string& path, PictureError& error)
{
    error = {PictureFailure::Unreadable, {}};
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return std::nullopt;
    unsigned char magic[8] = {};
    const std::size_t got = std::fread(magic, 1, sizeof magic, file);
    std::fclose(file);
    error.failure = PictureFailure::NotAPhotograph;
    const auto starts = [&](const char* bytes, std::size_t n) {
        return got >= n && std::memcmp(magic, bytes, n) == 0;
    };
    if (starts("\xFF\xD8\xFF", 3))
        return Kind::Jpeg;
    if (starts("\x89PNG\r\n\x1A\n", 8))
        return Kind::Png;
    if (starts("II*\0", 4) || starts("MM\0*", 4))
        return Kind::Tiff;
    if (starts("BM", 2))
        return Kind::Bmp;
    return std::nullopt;
}

std::unique_ptr<PictureRows> openRows(Kind kind, const std::string& path, PictureError& error)
{
    switch (kind) {
    case Kind::Png:
        return openPngRows(path, kMaxPicturePixels, error);
    case Kind::Bmp:
        return openBmpRows(path, kMaxPicturePixels, error);
    default:
        return openTiffRows(path, kMaxPicturePixels, error);
    }
}

QImage shownForm(const QImage& picture)
{
    return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                             : QImage::Format_RGB32);
}

int reduced(int length, int step) { return (length + step - 1) / step; }

// JPEG's colour pictures through Qt's reader, which hands libjpeg the reduction (1/2, 1/4,
// 1/8) when the scaled size is the reduced size; steps beyond 8 keep one pixel of the
// reduced picture out of step / 8.
std::optional<QImage> jpegRegion(const std::string& path, QSize full, const QRect& region,
                                 int step, PictureError& error)
{
    QImageReader reader(QString::fromStdString(path), "jpeg");
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    const int scale = std::min(step, 8);
    const int rest = step / scale;
    if (scale > 1)
        reader.setScaledSize(QSize(reduced(full.width(), scale), reduced(full.height(), scale)));
    const QRect scaled(region.x() / scale, region.y() / scale, reduced(region.width(), scale),
                       reduced(region.height(), scale));
    if (scale == 1 && region != QRect(QPoint(0, 0), full))
        reader.setClipRect(region);
    else if (scale > 1 && scaled != QRect(QPoint(0, 0), reader.scaledSize()))
        reader.setScaledClipRect(scaled);
    QImage image;
    if (!reader.read(&image)) {
        error = {PictureFailure::Damaged, full};
        return std::nullopt;
    }
    if (rest > 1) {
        QImage kept(reduced(image.width(), rest), reduced(image.height(), rest), image.format());
        for (int j = 0; j < kept.height(); ++j)
            for (int i = 0; i < kept.width(); ++i)
                kept.setPixel(i, j, image.pixel(i * rest, j * rest));
        image = kept;
    }
    return shownForm(image);
}

} // namespace

std::optional<QSize> photographSize(const std::string& path, PictureError* error)
{
    PictureError local;
    PictureError& why = error ? *error : local;
    const auto kind = kindOf(path, why);
    if (!kind)
        return std::nullopt;
    if (*kind == Kind::Jpeg) {
        const auto size = jpegSize(path, why);
        if (size && static_cast<std::int64_t>(size->width()) * size->height() > kMaxPicturePixels) {
            why = {PictureFailure::TooLarge, *size};
            return std::nullopt;
        }
        return size;
    }
    const auto rows = openRows(*kind, path, why);
    if (!rows)
        return std::nullopt;
    return rows->size();
}

std::optional<QImage> decodeRegion(const std::string& path, const QRect& region, int step,
                                   PictureError* error)
{
    PictureError local;
    PictureError& why = error ? *error : local;
    step = std::max(step, 1);
    const auto kind = kindOf(path, why);
    if (!kind)
        return std::nullopt;
    if (*kind == Kind::Jpeg) {
        const auto size = photographSize(path, &why);
        if (!size)
            return std::nullopt;
        const QRect clipped = region.intersected(QRect(QPoint(0, 0), *size));
        if (clipped.isEmpty())
            return QImage();
        return jpegRegion(path, *size, clipped, step, why);
    }
    const auto rows = openRows(*kind, path, why);
    if (!rows)
        return std::nullopt;
    const QRect clipped = region.intersected(QRect(QPoint(0, 0), rows->size()));
    if (clipped.isEmpty())
        return QImage();
    QImage image(reduced(clipped.width(), step), reduced(clipped.height(), step), rows->format());
    QImage line(rows->size().width(), 1, rows->format());
    if (image.isNull() || line.isNull()) {
        why = {PictureFailure::TooLarge, rows->size()};
        return std::nullopt;
    }
    const int bytes = image.depth() / 8;
    for (int j = 0; j < image.height(); ++j) {
        if (!rows->readRow(clipped.y() + j * step, line.scanLine(0))) {
            why = {PictureFailure::Damaged, rows->size()};
            return std::nullopt;
        }
        const uchar* from = line.constScanLine(0) + static_cast<std::size_t>(clipped.x()) * bytes;
        uchar* to = image.scanLine(j);
        if (step == 1)
            std::memcpy(to, from, static_cast<std::size_t>(image.width()) * bytes);
        else
            for (int i = 0; i < image.width(); ++i)
                std::memcpy(to + static_cast<std::size_t>(i) * bytes,
                            from + static_cast<std::size_t>(i) * step * bytes, bytes);
    }
    return shownForm(image);
}

std::shared_ptr<const GreyImage> decodeGreyLevels(const std::string& path, PictureError* error)
{
    PictureError local;
    PictureError& why = error ? *error : local;
    const auto kind = kindOf(path, why);
    if (!kind)
        return nullptr;
    if (*kind == Kind::Jpeg)
        return decodeJpegGrey(path, kMaxPicturePixels, why);
    const auto rows = openRows(*kind, path, why);
    if (!rows)
        return nullptr;
    auto grey = std::make_shared<GreyImage>();
    grey->width = rows->size().width();
    grey->height = rows->size().height();
    grey->levels.resize(static_cast<std::size_t>(grey->width) * grey->height);
    QImage line(grey->width, 1, rows->format());
    for (int y = 0; y < grey->height; ++y) {
        if (!rows->readRow(y, line.scanLine(0))) {
            why = {PictureFailure::Damaged, rows->size()};
            return nullptr;
        }
        // Qt's own conversion, so that the levels are those of the picture the views show.
        const QImage levels = shownForm(line).convertToFormat(QImage::Format_Grayscale8);
        std::memcpy(&grey->levels[static_cast<std::size_t>(y) * grey->width],
                    levels.constScanLine(0), static_cast<std::size_t>(grey->width));
    }
    return grey;
}

std::string pictureFailureText(const std::string& path, const PictureError& error)
{
    const std::string file = "Le fichier \"" + path + "\"";
    switch (error.failure) {
    case PictureFailure::None:
        return {};
    case PictureFailure::Unreadable:
        return file + " n'existe pas ou ne peut pas être lu.";
    case PictureFailure::NotAPhotograph:
        return file + " n'est pas une photographie JPEG, PNG, TIFF ou BMP.";
    case PictureFailure::Damaged:
        return file + " est une photographie endommagée : elle est incomplète ou incohérente.";
    case PictureFailure::TooLarge:
        return file + " est une photographie de " + std::to_string(error.size.width()) + " × " +
               std::to_string(error.size.height()) + " pixels, plus que les " +
               std::to_string(kMaxPicturePixels / 1000000) + " millions de pixels acceptés.";
    }
    return {};
}

} // namespace ai::ui
