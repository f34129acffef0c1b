#include "ui/picture_file.h"

namespace ai::ui {

std::optional<QImage> decodeVisiblePart(const std::string& path, QSize visible,
                                        PictureError* error)
{
    return decodeRegion(path, QRect(QPoint(0, 0), visible), 1, error);
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

bool PictureFile::load(const std::string& path, PictureError* error)
{
    const FileStamp stamp = FileStamp::of(path);
    auto decoded = decodeVisiblePart(path, visible_, error);
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
