#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>
#include <optional>
#include <string>

namespace ai::ui {

// The top-left part of a TIFF file of at most `visible` size, read strip by strip with
// libtiff and stopping after the last row needed. Only the plain photographs: 8-bit RGB or
// grey (black at 0), samples interleaved, in strips; nothing for any other TIFF (tiles,
// alpha, palettes, other depths), one holding more than `maxPixels` or one damaged in the
// part read: the caller then decodes it another way.
std::optional<QImage> readTiffTopLeft(const std::string& path, QSize visible,
                                      std::int64_t maxPixels);

} // namespace ai::ui
