#pragma once

#include "correlation/grey_image.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace ai::ui {

// Photographs with more pixels than this are refused from their header: twice the 50
// megapixels of the largest camera pictures, whose grey levels and views still fit in memory.
inline constexpr std::int64_t kMaxPicturePixels = 100LL * 1000 * 1000;

// Why a photograph file gave no picture.
enum class PictureFailure {
    None,
    Unreadable,     // missing, not a regular file, or cannot be opened
    NotAPhotograph, // no JPEG, PNG, TIFF or BMP by its content
    Damaged,        // the header or the pixel data is inconsistent or cut short
    TooLarge,       // a readable photograph with more pixels than the program accepts
};

struct PictureError {
    PictureFailure failure = PictureFailure::None;
    QSize size; // the photograph's size when it is known (always for TooLarge)
};

// The size in pixels of a photograph, read from its header only (milliseconds whatever the
// header claims). Nothing, with the reason in `error`, for a file that is no photograph.
std::optional<QSize> photographSize(const std::string& path, PictureError* error = nullptr);

// The pixels of `region` (photograph pixels, clipped to the photograph) reduced by `step`
// (1, 2, 4, 8, ... : one pixel out of `step` in each direction, or the decoder's own
// reduced decoding), as an RGB32 (or ARGB32 premultiplied) picture of
// ceil(width / step) x ceil(height / step) pixels of the clipped region. Pixel (i, j) is
// photograph pixel (left + i step, top + j step), or for JPEG at steps 2, 4 and 8 the
// decoder's own reduction of the aligned step x step block that holds that pixel.
// Only the rows and, where the format allows, the part of them that the region needs are
// decoded. A region outside the photograph gives a null picture.
std::optional<QImage> decodeRegion(const std::string& path, const QRect& region, int step,
                                   PictureError* error = nullptr);

// The whole photograph at full resolution as 8-bit grey, one byte a pixel, decoded
// straight to grey a row at a time, for the correlation: Qt's grey of the pixels the views
// show, or for JPEG the file's own luma channel.
std::shared_ptr<const GreyImage> decodeGreyLevels(const std::string& path,
                                                  PictureError* error = nullptr);

// The French sentence that tells the user why `path` gave no picture.
std::string pictureFailureText(const std::string& path, const PictureError& error);

} // namespace ai::ui
