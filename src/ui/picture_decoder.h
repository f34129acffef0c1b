#pragma once

#include "correlation/grey_image.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <memory>
#include <optional>
#include <string>

namespace ai::ui {

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
// ceil(width / step) x ceil(height / step) pixels. Only the rows and, where the format
// allows, the part of them that the region needs are decoded.
std::optional<QImage> decodeRegion(const std::string& path, const QRect& region, int step,
                                   PictureError* error = nullptr);

// The whole photograph at full resolution as 8-bit grey, one byte a pixel, decoded
// straight to grey, for the correlation.
std::shared_ptr<const GreyImage> decodeGreyLevels(const std::string& path,
                                                  PictureError* error = nullptr);

// The French sentence that tells the user why `path` gave no picture.
std::string pictureFailureText(const std::string& path, const PictureError& error);

} // namespace ai::ui
