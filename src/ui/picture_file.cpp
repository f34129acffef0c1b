#include "ui/picture_file.h"

#include "ui/bmp_rows.h"
#include "ui/png_rows.h"
#include "ui/tiff_rows.h"

#include <QImageReader>
#include <QString>

namespace ai::ui {

namespace {

// Megabytes the decoder may allocate for one picture: a little more than the largest
// picture accepted needs at four bytes a pixel.
constexpr int kDecodeAllocationLimitMb = 4 * kMaxPicturePixels / (1024 * 1024) + 16;

} // namespace

std::optional<QImage> decodeVisiblePart(const std::string& path, QSize visible)
{
    if (path.empty())
        return std::nullopt;
    // Qt's PNG, BMP and TIFF readers decode a whole picture to clip it: these read the rows shown.
    if (auto top = readPngTopLeft(path, visible, kMaxPicturePixels))
        return top->convertToFormat(top->hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                           : QImage::Format_RGB32);
    if (auto top = readBmpTopLeft(path, visible, kMaxPicturePixels))
        return top;
    if (auto top = readTiffTopLeft(path, visible, kMaxPicturePixels))
        return top;
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    reader.setAllocationLimit(kDecodeAllocationLimitMb);

    const QRect shown(QPoint(0, 0), visible);
    const QSize full = reader.size();
    if (full.isValid()) {
        if (static_cast<std::int64_t>(full.width()) * full.height() > kMaxPicturePixels)
            return std::nullopt;
        // Decoders that can clip skip the rest of the picture; the others decode it whole
        // and the reader keeps the clip only.
        const QRect clip = shown.intersected(QRect(QPoint(0, 0), full));
        if (!clip.isEmpty())
            reader.setClipRect(clip);
    }

    QImage image;
    if (!reader.read(&image))
        return std::nullopt;
    if (!shown.contains(image.rect()))
        image = image.copy(shown.intersected(image.rect()));
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

FileStamp FileStamp::of(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path file(path);
    FileStamp stamp;
    stamp.size = std::filesystem::file_size(file, error);
    if (error)
        return {};
    stamp.modified = std::filesystem::last_write_time(file, error);
    if (error)
        return {};
    stamp.exists = true;
    return stamp;
}

bool PictureFile::load(const std::string& path)
{
    const FileStamp stamp = FileStamp::of(path);
    auto decoded = decodeVisiblePart(path, visible_);
    if (!decoded)
        return false;
    path_ = path;
    stamp_ = stamp;
    image_ = std::move(*decoded);
    return true;
}

const QImage& PictureFile::picture(const std::string& path)
{
    const FileStamp stamp = FileStamp::of(path);
    if (path == path_ && stamp == stamp_)
        return image_;
    path_ = path;
    stamp_ = stamp;
    image_ = stamp.exists ? decodeVisiblePart(path, visible_).value_or(QImage()) : QImage();
    return image_;
}

} // namespace ai::ui
