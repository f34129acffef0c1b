#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>
#include <optional>
#include <string>

namespace ai::ui {

// The top-left part of a PNG file of at most `visible` size, read row by row with libpng
// and stopping after the last row needed, so that a large photograph costs no more than
// the part shown. Nothing when the file is no PNG, is interlaced (its rows come in seven
// passes, the last one at the end), holds more than `maxPixels` or is damaged in the part
// read, or has 16-bit channels with alpha: the caller then decodes it another way.
std::optional<QImage> readPngTopLeft(const std::string& path, QSize visible,
                                     std::int64_t maxPixels);

} // namespace ai::ui
