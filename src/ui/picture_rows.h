#pragma once

#include "ui/picture_decoder.h"

#include <QImage>
#include <QSize>

#include <cstdint>
#include <memory>
#include <string>

namespace ai::ui {

// A photograph file read row by row from the top, so that no more than a row of its
// pixels is held beside what the caller keeps of them.
class PictureRows {
public:
    virtual ~PictureRows() = default;

    QSize size() const { return size_; }
    // The Qt format of the rows written by readRow: RGB32, ARGB32, ARGB32 premultiplied
    // or RGBA64.
    QImage::Format format() const { return format_; }

    // Decodes row `y` into `line`, a row of size().width() pixels of format(). Rows are
    // asked from the top down; those skipped cost what the format needs to reach the next.
    // False when the file is damaged there.
    virtual bool readRow(int y, uchar* line) = 0;

protected:
    QSize size_;
    QImage::Format format_ = QImage::Format_RGB32;
};

// The readers of each format. Each checks the header against `maxPixels` and the file's
// length before anything is allocated; nothing, with the reason in `error`, otherwise.
std::unique_ptr<PictureRows> openPngRows(const std::string& path, std::int64_t maxPixels,
                                         PictureError& error);
std::unique_ptr<PictureRows> openBmpRows(const std::string& path, std::int64_t maxPixels,
                                         PictureError& error);
std::unique_ptr<PictureRows> openTiffRows(const std::string& path, std::int64_t maxPixels,
                                          PictureError& error);

} // namespace ai::ui
