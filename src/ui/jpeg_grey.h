#pragma once

#include "ui/picture_decoder.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace ai::ui {

// JPEG photographs through libjpeg directly, so that the grey levels come from the
// decoder's own luminance with no colour picture in between.

// The size from the header; nothing, with the reason in `error`, for a damaged header.
std::optional<QSize> jpegSize(const std::string& path, PictureError& error);

// The whole photograph as 8-bit grey, one byte a pixel. A file that libjpeg finds damaged
// anywhere (it would otherwise fill the rest with grey) gives nothing.
std::shared_ptr<GreyImage> decodeJpegGrey(const std::string& path, std::int64_t maxPixels,
                                          PictureError& error);

} // namespace ai::ui
