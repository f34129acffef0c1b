#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>
#include <optional>
#include <string>

namespace ai::ui {

// The top-left part of an uncompressed 24- or 32-bit BMP file of at most `visible` size,
// reading only the rows shown: a bottom-up file keeps them at its end. Nothing for any
// other BMP (palettes, compression, bit fields, alpha headers), a file holding more than
// `maxPixels` or one too short: the caller then decodes it another way.
std::optional<QImage> readBmpTopLeft(const std::string& path, QSize visible,
                                     std::int64_t maxPixels);

} // namespace ai::ui
