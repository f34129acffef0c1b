#pragma once

#include "ui/picture_decoder.h"

#include <QImage>
#include <QSize>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace ai::ui {

// What tells that a file changed without reading it; all default for a file that cannot be
// examined.
struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    friend bool operator==(const FileStamp&, const FileStamp&) = default;

    static FileStamp of(const std::string& path);
};

// Decodes the top-left part of a picture file that a surface of `visible` size shows.
// Nothing, with the reason in `error`, when the file gives no picture.
std::optional<QImage> decodeVisiblePart(const std::string& path, QSize visible,
                                        PictureError* error = nullptr);

// The visible part of one picture file, decoded once and kept while neither the file's
// name nor the file itself changes, so that redrawing costs no decoding.
class PictureFile {
public:
    explicit PictureFile(QSize visible) : visible_(visible) {}

    // Decodes `path` now. On failure keeps what it held and returns false, with the reason
    // in `error`.
    bool load(const std::string& path, PictureError* error = nullptr);

    // The picture of `path`, decoded again only when the name or the file changed.
    // An empty name or a file that cannot be read any more gives a null image.
    const QImage& picture(const std::string& path);

    // Whether picture(path) would give what it holds now, without decoding anything.
    bool holds(const std::string& path) const { return path == path_ && FileStamp::of(path) == stamp_; }

private:
    QSize visible_;
    std::string path_;
    FileStamp stamp_;
    QImage image_;
};

} // namespace ai::ui
