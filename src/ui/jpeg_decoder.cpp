#include "ui/jpeg_decoder.h"

#include <cstdio>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>
#include <jerror.h>

#include <csetjmp>
#include <vector>

namespace ai::ui {

namespace {

// A progressive file may hold any number of scans, each a pass over the whole picture:
// far more than any encoder writes is refused rather than decoded for minutes.
constexpr int kMostScans = 1000;

struct Decompressor {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    jpeg_progress_mgr progress{};
    std::jmp_buf jump{};
    bool damaged = false;
    std::FILE* file = nullptr;

    ~Decompressor()
    {
        jpeg_destroy_decompress(&info);
        if (file)
            std::fclose(file);
    }
};

Decompressor& owner(j_common_ptr info) { return *static_cast<Decompressor*>(info->client_data); }

[[noreturn]] void jumpOnError(j_common_ptr info) { std::longjmp(owner(info).jump, 1); }

// libjpeg goes on after missing or corrupt pixel data with a warning, filling the rest:
// that photograph is damaged. Its other warnings (bytes between markers, unknown versions,
// odd colour profiles) are common in cameras' files, whose pixels are whole.
void noteWarning(j_common_ptr info, int level)
{
    switch (level < 0 ? info->err->msg_code : 0) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
        owner(info).damaged = true;
        break;
    default:
        break;
    }
}

void countScans(j_common_ptr common)
{
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number > kMostScans)
        std::longjmp(owner(common).jump, 1);
}

// Opens the file and sets libjpeg up on it; false with `error` set.
bool start(Decompressor& d, const std::string& path, PictureError& error)
{
    error.failure = PictureFailure::Unreadable;
    d.file = std::fopen(path.c_str(), "rb");
    if (!d.file)
        return false;
    error.failure = PictureFailure::Damaged;
    d.info.err = jpeg_std_error(&d.errors);
    d.errors.error_exit = jumpOnError;
    d.errors.emit_message = noteWarning;
    d.info.client_data = &d;
    jpeg_create_decompress(&d.info);
    d.progress.progress_monitor = countScans;
    d.info.progress = &d.progress;
    jpeg_stdio_src(&d.info, d.file);
    return true;
}

} // namespace

std::optional<QSize> jpegSize(const std::string& path, PictureError& error)
{
    Decompressor d;
    if (!start(d, path, error))
        return std::nullopt;
    if (setjmp(d.jump))
        return std::nullopt;
    jpeg_read_header(&d.info, TRUE);
    error = {};
    return QSize(static_cast<int>(d.info.image_width), static_cast<int>(d.info.image_height));
}

namespace {

// The largest of libjpeg's reductions (1, 2, 4, 8) that divides `step`.
int reductionOf(int step)
{
    int scale = 1;
    while (scale < 8 && step % (2 * scale) == 0)
        scale *= 2;
    return scale;
}

bool fourChannelsIn(const jpeg_decompress_struct& info)
{
    return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

// The inverted CMYK that Adobe's programs write, as Qt's reader takes it.
QRgb fromCmyk(const JSAMPLE* p)
{
    return qRgb(p[0] * p[3] / 255, p[1] * p[3] / 255, p[2] * p[3] / 255);
}

// Reads the header and tells whether the picture holds at most `maxPixels`. Called after the
// caller's setjmp, so that a damaged header jumps back to it.
bool readHeaderWithin(Decompressor& d, std::int64_t maxPixels, PictureError& error)
{
    jpeg_read_header(&d.info, TRUE);
    error.size = QSize(static_cast<int>(d.info.image_width), static_cast<int>(d.info.image_height));
    if (static_cast<std::int64_t>(d.info.image_width) * d.info.image_height > maxPixels) {
        error.failure = PictureFailure::TooLarge;
        return false;
    }
    return true;
}

// Decodes into `image`, which like every owner of memory lives outside the jump's scope.
bool readRegion(Decompressor& d, const QRect& region, int step, std::int64_t maxPixels,
                QImage& image, std::vector<JSAMPLE>& row, PictureError& error)
{
    if (setjmp(d.jump))
        return false;
    if (!readHeaderWithin(d, maxPixels, error))
        return false;
    const bool fourChannels = fourChannelsIn(d.info);
    // Qt's RGB32 in memory, its 4th byte 0xFF.
    d.info.out_color_space = fourChannels                         ? JCS_CMYK
                             : Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX
                                                               : JCS_EXT_XRGB;
    const int scale = reductionOf(step);
    const int keep = step / scale;
    d.info.scale_num = 1;
    d.info.scale_denom = static_cast<unsigned int>(scale);
    jpeg_start_decompress(&d.info);
    const int left = region.x() / scale, top = region.y() / scale;
    const int width = (region.width() + step - 1) / step;
    const int height = (region.height() + step - 1) / step;
    image = QImage(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return false;
    // Only the columns of the region go through the inverse transform and the colours.
    JDIMENSION cropLeft = static_cast<JDIMENSION>(left);
    JDIMENSION cropWidth = static_cast<JDIMENSION>((width - 1) * keep + 1);
    if (cropWidth < d.info.output_width)
        jpeg_crop_scanline(&d.info, &cropLeft, &cropWidth);
    row.resize(static_cast<std::size_t>(cropWidth) * 4);
    const int first = left - static_cast<int>(cropLeft);
    for (int j = 0; j < height; ++j) {
        const auto wanted = static_cast<JDIMENSION>(top + j * keep);
        if (wanted > d.info.output_scanline)
            jpeg_skip_scanlines(&d.info, wanted - d.info.output_scanline);
        JSAMPROW samples = row.data();
        jpeg_read_scanlines(&d.info, &samples, 1);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(j));
        const JSAMPLE* from = row.data() + static_cast<std::size_t>(first) * 4;
        for (int i = 0; i < width; ++i, from += 4 * keep)
            line[i] = fourChannels ? fromCmyk(from) : *reinterpret_cast<const QRgb*>(from);
    }
    jpeg_abort_decompress(&d.info);
    return !d.damaged;
}

// Decodes into `grey`, which like every owner of memory lives outside the jump's scope.
bool readGrey(Decompressor& d, std::int64_t maxPixels, GreyImage& grey,
              std::vector<JSAMPLE>& cmyk, PictureError& error)
{
    if (setjmp(d.jump))
        return false;
    if (!readHeaderWithin(d, maxPixels, error))
        return false;
    // libjpeg cannot take four-channel files to grey: those rows come as CMYK.
    const bool fourChannels = fourChannelsIn(d.info);
    d.info.out_color_space = fourChannels ? JCS_CMYK : JCS_GRAYSCALE;
    jpeg_start_decompress(&d.info);
    grey.width = error.size.width();
    grey.height = error.size.height();
    grey.levels.resize(static_cast<std::size_t>(grey.width) * grey.height);
    if (fourChannels)
        cmyk.resize(static_cast<std::size_t>(grey.width) * 4);
    while (d.info.output_scanline < d.info.output_height) {
        std::uint8_t* out = &grey.levels[std::size_t{d.info.output_scanline} * grey.width];
        JSAMPROW row = fourChannels ? cmyk.data() : out;
        jpeg_read_scanlines(&d.info, &row, 1);
        if (!fourChannels)
            continue;
        for (int x = 0; x < grey.width; ++x)
            out[x] = static_cast<std::uint8_t>(qGray(fromCmyk(&cmyk[static_cast<std::size_t>(x) * 4])));
    }
    jpeg_finish_decompress(&d.info);
    return !d.damaged;
}

} // namespace

std::optional<QImage> decodeJpegRegion(const std::string& path, const QRect& region, int step,
                                       std::int64_t maxPixels, PictureError& error)
{
    Decompressor d;
    if (!start(d, path, error))
        return std::nullopt;
    QImage image;
    std::vector<JSAMPLE> row;
    if (!readRegion(d, region, step, maxPixels, image, row, error))
        return std::nullopt;
    error = {};
    return image;
}

std::shared_ptr<GreyImage> decodeJpegGrey(const std::string& path, std::int64_t maxPixels,
                                          PictureError& error)
{
    Decompressor d;
    if (!start(d, path, error))
        return nullptr;
    auto grey = std::make_shared<GreyImage>();
    std::vector<JSAMPLE> cmyk;
    if (!readGrey(d, maxPixels, *grey, cmyk, error))
        return nullptr;
    error = {};
    return grey;
}

} // namespace ai::ui
