#pragma once

#include "ui/picture_decoder.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace ai::ui {

// JPEG photographs through libjpeg directly: the grey levels from the decoder's own
// luminance with no colour picture in between, regions from its own reduction, and every
// file that libjpeg finds damaged refused (it would otherwise fill the rest with grey).

// The size from the header; nothing, with the reason in `error`, for a damaged header.
std::optional<QSize> jpegSize(const std::string& path, PictureError& error);

// The pixels of `region`, inside the photograph, as decodeRegion gives them: steps of 2, 4
// and 8 (and their multiples) by libjpeg's reduced decoding, the others by keeping one pixel
// out of step. Only the rows down to the region's last are decoded.
std::optional<QImage> decodeJpegRegion(const std::string& path, const QRect& region, int step,
                                       std::int64_t maxPixels, PictureError& error);

// The whole photograph as 8-bit grey, one byte a pixel.
std::shared_ptr<GreyImage> decodeJpegGrey(const std::string& path, std::int64_t maxPixels,
                                          PictureError& error);

} // namespace ai::ui
