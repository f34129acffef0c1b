// The views' decoding through Qt's readers: the header for the size, and the region shown,
// clipped and reduced by the reader itself where its format allows (JPEG decodes at 1/2,
// 1/4 and 1/8 of its size on its own).
#include "ui/picture_decoder.h"

#include "ui/picture_file.h"

#include <QImageReader>
#include <QString>

namespace ai::ui {

namespace {

// Megabytes the reader may allocate for one picture: a little more than the largest
// picture accepted needs at four bytes a pixel.
constexpr int kAllocationLimitMb = 4 * kMaxPicturePixels / (1024 * 1024) + 16;

void configure(QImageReader& reader)
{
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    reader.setAllocationLimit(kAllocationLimitMb);
}

void fail(PictureError* error, PictureFailure failure, QSize size = {})
{
    if (error)
        *error = {failure, size};
}

} // namespace

std::optional<QSize> photographSize(const std::string& path, PictureError* error)
{
    if (!FileStamp::of(path).exists) {
        fail(error, PictureFailure::Unreadable);
        return std::nullopt;
    }
    QImageReader reader(QString::fromStdString(path));
    configure(reader);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) {
        fail(error, PictureFailure::NotAPhotograph);
        return std::nullopt;
    }
    if (static_cast<std::int64_t>(size.width()) * size.height() > kMaxPicturePixels) {
        fail(error, PictureFailure::TooLarge, size);
        return std::nullopt;
    }
    return size;
}

std::optional<QImage> decodeRegion(const std::string& path, const QRect& region, int step,
                                   PictureError* error)
{
    const auto size = photographSize(path, error);
    if (!size)
        return std::nullopt;
    const QRect clip = region.intersected(QRect(QPoint(0, 0), *size));
    if (clip.isEmpty() || step < 1) {
        fail(error, PictureFailure::Damaged, *size);
        return std::nullopt;
    }
    const QSize reduced((clip.width() + step - 1) / step, (clip.height() + step - 1) / step);
    QImageReader reader(QString::fromStdString(path));
    configure(reader);
    if (clip != QRect(QPoint(0, 0), *size))
        reader.setClipRect(clip);
    if (step > 1)
        reader.setScaledSize(reduced);
    QImage image;
    if (!reader.read(&image)) {
        fail(error, PictureFailure::Damaged, *size);
        return std::nullopt;
    }
    if (image.size() != reduced)
        image = image.scaled(reduced);
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

} // namespace ai::ui
